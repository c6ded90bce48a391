#include "DesktopCheck.h"

#include "files/ConfigurationFile.h"
#include "ui/MainWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (!desktopAvailable("kdr-switch-panel"))
        return 1;
    kdr::ConfigurationFile::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kdr-switch-panel"));
    QApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kdr-switch-panel"));
    kdr::MainWindow window;
    window.show();
    return app.exec();
}
