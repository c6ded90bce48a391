// SPDX-License-Identifier: GPL-3.0-or-later
// A full panel read and a full panel write through the window against a panel that
// answers at once: how close each comes to its pacing floor, and what CPU it costs.
#include "bench_util.h"

#include "ui/MainWindow.h"
#include "ui/StatusTextBox.h"

#include "PtyPanel.h"

#include <QApplication>
#include <QPushButton>
#include <QTextStream>

using namespace kdr;

namespace {

struct Figures {
    double wallMs = 0, cpuMs = 0;
    int ok = 0;
};

Figures run(MainWindow &form, const char *button, const QString &success, int rounds)
{
    auto *b = form.findChild<QPushButton *>(QLatin1String(button));
    Figures f;
    for (int i = 0; i < rounds; ++i) {
        const double cpu0 = cpuMs();
        QElapsedTimer wall;
        wall.start();
        b->click();
        f.wallMs += double(wall.nsecsElapsed()) / 1e6;
        f.cpuMs += cpuMs() - cpu0;
        f.ok += form.statusBox().toPlainText() == success;
    }
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    sim::PtyPanel panel;
    MainWindow form(panel.devicePath());
    form.show();

    QTextStream out(stdout);
    const Figures read = run(form, "READ_CONFIG", QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL"), rounds);
    const Figures write = run(form, "WRITE_CONFIG", QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED"), rounds);
    auto report = [&](const char *name, const Figures &f, int ticks) {
        const double each = f.wallMs / rounds;
        out << name << ": " << f.ok << "/" << rounds << " succeeded, " << QString::number(each, 'f', 1)
            << " ms each; wall / pacing floor (" << ticks
            << " ticks) = " << QString::number(each / (ticks * 100.0), 'f', 4)
            << " (goal 1.03 or less); CPU / wall = " << QString::number(100.0 * f.cpuMs / f.wallMs, 'f', 2)
            << " % (goal 2 % or less)\n";
    };
    report("full read", read, 11);
    report("full write", write, 12);
    return read.ok == rounds && write.ok == rounds ? 0 : 1;
}
