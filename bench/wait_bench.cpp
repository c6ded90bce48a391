// SPDX-License-Identifier: GPL-3.0-or-later
// How much CPU a wait for the panel costs, and how soon it notices a complete reply.
#include "bench_util.h"

#include "link/PanelPort.h"
#include "link/PanelProtocol.h"
#include "link/TickWaiter.h"

#include "PtyPanel.h"

#include <QCoreApplication>
#include <QTextStream>

using namespace kdr;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int waits = argc > 1 ? std::max(100, atoi(argv[1])) : 150;

    sim::PanelFaults faults;
    faults.replyDelay = std::chrono::milliseconds(30); // the wait has to sleep before the reply comes
    sim::PtyPanel panel(faults);
    WorkingState state;
    PanelPort port(panel.devicePath());
    port.open(kPanelLineSettings);
    TickWaiter waiter(state, port);

    std::vector<double> delaysMs;
    const double cpuStart = cpuMs();
    QElapsedTimer wall;
    wall.start();
    int ended = 0;
    for (int i = 0; i < waits; ++i) {
        port.send(PanelProtocol::readCommand(Code(i % 10)));
        waiter.WaitForReply();
        const qint64 endNs = panel.nowNs();
        if (port.bytesWaiting() >= 5 && state.timer_flag == 0) {
            ++ended;
            delaysMs.push_back(double(endNs - panel.lastReplyAtNs()) / 1e6);
        }
        port.takeAll();
    }
    const double wallMs = double(wall.elapsed());
    const double cpu = cpuMs() - cpuStart;

    QTextStream out(stdout);
    out << "waits: " << waits << " (" << ended << " ended on a full reply)\n";
    out << "CPU time / wall time: " << QString::number(100.0 * cpu / wallMs, 'f', 2) << " % (goal under 2 %)\n";
    out << "fifth reply byte to end of wait: median " << QString::number(median(delaysMs), 'f', 3)
        << " ms, 95th percentile " << QString::number(percentile(delaysMs, 0.95), 'f', 3)
        << " ms (goal: median under 2 ms)\n";
    return ended == waits ? 0 : 1;
}
