// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopCheck.h"
#include "WindowApplication.h"
#include "WindowArguments.h"

#include "ui/MainWindow.h"
#include "ui/ScreenFit.h"
#include "ui/WindowFonts.h"

int main(int argc, char *argv[])
{
    int exitStatus = 0;
    const auto parsed = parseWindowArguments(argc, argv, exitStatus);
    if (!parsed)
        return exitStatus;
    if (!desktopAvailable("kdr-switch-panel"))
        return 1;
    kdr::startReadingFontConfiguration();
    kdr::ScreenFit::scaleToFit();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KDR"));
    setUpWindowApplication("kdr-switch-panel");
    kdr::MainWindow window(parsed->port);
    window.show();
    kdr::ScreenFit::keepOnScreen(window);
    if (!parsed->file.isEmpty())
        window.openFile(parsed->file);
    return app.exec();
}
