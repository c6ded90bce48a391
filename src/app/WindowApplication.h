// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QStringList>

// What both window programs share around their window.

// The command line as the argument parsers take it.
inline QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// Called once the application object exists.
inline void setUpWindowApplication(const char *program)
{
    // The window's controls are laid out for this style's metrics, on every platform.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QString::fromLatin1(program));
    QApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(program));
}
