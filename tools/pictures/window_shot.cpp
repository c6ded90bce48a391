// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the README's pictures of the window: as it opens, after a successful read
// of a (simulated) panel, and after a read from a panel that does not answer.
//   window-shot DIR
#include "ui/MainWindow.h"

#include "PtyPanel.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTextStream>

namespace {

bool save(QWidget &window, const QString &path)
{
    QCoreApplication::processEvents();
    const bool ok = window.grab().save(path);
    QTextStream(stderr) << (ok ? "saved " : "could not save ") << path << "\n";
    return ok;
}

bool readAndSave(kdr::sim::PanelFaults faults, const QString &path)
{
    kdr::sim::PtyPanel panel(std::move(faults));
    panel.panel().storeSampleConfiguration();
    kdr::MainWindow window(panel.devicePath());
    window.show();
    window.findChild<QPushButton *>(QStringLiteral("READ_CONFIG"))->click();
    return save(window, path);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    bool ok = true;
    {
        kdr::MainWindow window;
        window.show();
        ok &= save(window, folder.filePath(QStringLiteral("window.png")));
    }
    ok &= readAndSave({}, folder.filePath(QStringLiteral("read-successful.png")));
    kdr::sim::PanelFaults silent;
    silent.silent = true;
    ok &= readAndSave(silent, folder.filePath(QStringLiteral("read-failed.png")));
    return ok ? 0 : 1;
}
