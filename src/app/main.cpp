// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopCheck.h"
#include "WindowArguments.h"

#include "ui/MainWindow.h"
#include "ui/WindowFonts.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    int exitStatus = 0;
    const auto parsed = parseWindowArguments(arguments, exitStatus);
    if (!parsed)
        return exitStatus;
    if (!desktopAvailable("kdr-switch-panel"))
        return 1;
    kdr::startReadingFontConfiguration();
    QApplication app(argc, argv);
    // The window's controls are laid out for this style's metrics, on every platform.
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setOrganizationName(QStringLiteral("KDR"));
    QApplication::setApplicationName(QStringLiteral("kdr-switch-panel"));
    QApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kdr-switch-panel"));
    kdr::MainWindow window(parsed->port);
    window.show();
    if (!parsed->file.isEmpty())
        window.openFile(parsed->file);
    return app.exec();
}
