// Saves a picture of the main window as it looks right after start, for the README.
#include "ui/Form1.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString target = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("window.png");
    kdr::Form1 window;
    window.show();
    QCoreApplication::processEvents();
    const bool ok = window.grab().save(target);
    QTextStream(stderr) << (ok ? "saved " : "could not save ") << target << "\n";
    return ok ? 0 : 1;
}
