// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// What both window programs share around their window.

// Called once the application object exists.
inline void setUpWindowApplication(const char *program)
{
    // The window's controls are laid out for this style's metrics, on every platform.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setApplicationName(QString::fromLatin1(program));
    QApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(program));
}
