#include "ui/Form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kdr-switch-panel"));
    QApplication::setApplicationVersion(QStringLiteral(KDR_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kdr-switch-panel"));
    kdr::Form1 window;
    window.show();
    return app.exec();
}
