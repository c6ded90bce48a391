// SPDX-License-Identifier: GPL-3.0-or-later
// Programming many panels at once with kdr-panel: one panel, then eight panels on
// eight simulators, in the same run. Reports the ratio of the eight-panel wall time
// to the one-panel wall time (goal 1.05 or less) and kdr-panel's CPU time per port
// as a share of the wall time (goal 2 % or less).
//   panels-bench [panels]   (default 8)
#include "bench_util.h"

#include "PtyPanel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>
#include <sys/resource.h>

namespace {

struct Figures {
    double wallMs = 0, cpuMs = 0;
    bool ok = false;
};

// Writes the file to every simulator's port with one kdr-panel; the simulators answer from here.
Figures writeAll(const QString &file, const std::vector<std::unique_ptr<kdr::sim::PtyPanel>> &panels)
{
    QStringList arguments{QStringLiteral("write"), file};
    for (const auto &panel : panels)
        arguments << QStringLiteral("--port") << panel->devicePath();
    QProcess program;
    const double cpuBefore = cpuMs(RUSAGE_CHILDREN);
    QElapsedTimer wall;
    wall.start();
    program.start(QStringLiteral(KDR_BIN_DIR "/kdr-panel"), arguments);
    QSignalSpy ended(&program, &QProcess::finished);
    ended.wait(30000);
    Figures figures{double(wall.nsecsElapsed()) / 1e6, cpuMs(RUSAGE_CHILDREN) - cpuBefore, program.exitCode() == 0};
    for (const auto &panel : panels)
        figures.ok &= panel->panel().code(4) == 42;
    return figures;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int many = argc > 1 ? std::max(2, atoi(argv[1])) : 8;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("coach.kdc"));
    QFile kdc(file);
    kdc.open(QIODevice::WriteOnly);
    kdc.write("\"COACH\",\"\",1,\"\",2,\"\",3,\"\",4,\"\",42,\"\",6,\"\",7,\"\",8,\"\",159,\"\",160,159\r\n");
    kdc.close();

    auto panels = [](int count) {
        std::vector<std::unique_ptr<kdr::sim::PtyPanel>> made;
        for (int i = 0; i < count; ++i)
            made.push_back(std::make_unique<kdr::sim::PtyPanel>());
        return made;
    };
    const Figures one = writeAll(file, panels(1));
    const Figures all = writeAll(file, panels(many));

    QTextStream out(stdout);
    const double ratio = all.wallMs / one.wallMs;
    const double cpuShare = 100.0 * all.cpuMs / all.wallMs / many;
    out << "one panel: " << QString::number(one.wallMs, 'f', 0) << " ms" << (one.ok ? "" : " (FAILED)") << "\n";
    out << many << " panels at once: " << QString::number(all.wallMs, 'f', 0) << " ms" << (all.ok ? "" : " (FAILED)")
        << "; ratio " << QString::number(ratio, 'f', 3) << " (goal 1.05 or less)\n";
    out << "kdr-panel CPU per port: " << QString::number(cpuShare, 'f', 2) << " % of the wall time (goal 2 % or less; "
        << QString::number(all.cpuMs, 'f', 0) << " ms CPU in all)\n";
    return one.ok && all.ok && ratio <= 1.05 && cpuShare <= 2.0 ? 0 : 1;
}
