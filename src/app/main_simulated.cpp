// SPDX-License-Identifier: GPL-3.0-or-later
// The tool's window wired to a simulated panel inside the same program, for trying
// it without hardware. The panel holds a sample configuration; the title says that
// it is simulated so that nobody takes it for a real panel.
#include "DesktopCheck.h"
#include "WindowApplication.h"
#include "WindowArguments.h"

#include "ui/MainWindow.h"
#include "ui/ScreenFit.h"
#include "ui/WindowFonts.h"
#include "ui/PanelArt.h"

#include "InProcessPanel.h"

#include "link/PanelPort.h"
#include "operations/PanelSession.h"

int main(int argc, char *argv[])
{
    int exitStatus = 0;
    if (!parseSimulatedWindowArguments(argc, argv, exitStatus))
        return exitStatus;
    if (!desktopAvailable("kdr-switch-panel-simulated"))
        return 1;
    kdr::startReadingFontConfiguration();
    kdr::ScreenFit::scaleToFit();
    QApplication app(argc, argv);
    setUpWindowApplication("kdr-switch-panel-simulated");
    // On a line inside the program: it needs no pseudo-terminal, so it runs everywhere.
    kdr::sim::InProcessPanel panel;
    panel.panel().storeSampleConfiguration();

    kdr::MainWindow window(QStringLiteral("SIMULATED"));
    window.session().port().useInProcessLine(panel.line());
    window.setTitleSuffix(QStringLiteral(" - SIMULATED PANEL"));
    window.setWindowIcon(kdr::programIcon(kdr::IconKind::Simulated));
    window.fixPort();
    window.show();
    kdr::ScreenFit::keepOnScreen(window);
    return app.exec();
}
