// SPDX-License-Identifier: GPL-3.0-or-later
// Soak run: alternating full writes and reads through the window against a
// simulated panel over a pseudo-terminal, with faults injected now and then.
// Reports the outcomes that should not have happened, memory growth from the 20th
// to the last cycle, and file descriptors left open.
//   soak [cycles]   (default 200)
#include "bench_util.h"

#include "link/PanelPort.h"
#include "operations/PanelSession.h"
#include "ui/MainWindow.h"
#include "ui/SelectionList.h"
#include "ui/StatusTextBox.h"

#include "PtyPanel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

using namespace kdr;

namespace {

const QString kReadOk = QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL");
const QString kProgrammed = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");
const QString kBadData = QStringLiteral("COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA");
const QString kNoResponse = QStringLiteral("COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND");

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

// A code for each switch that differs from cycle to cycle and covers every kind.
int codeFor(int cycle, int sw)
{
    return (cycle * 37 + sw * 17) % 161;
}

void selectCode(MainWindow &form, int sw, int code)
{
    const int module = code == 160 ? 0 : code == 159 ? 17 : code / 10 + 1;
    form.selectModulePosition(sw, module);
    if (code < 159)
        form.selectChannelPosition(sw, code % 10);
}

int shownCode(MainWindow &form, int sw)
{
    const int module = form.modulePosition(sw);
    if (module == 0)
        return 160;
    if (module == 17)
        return 159;
    return (module - 1) * 10 + form.channelPosition(sw);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int cycles = argc > 1 ? std::max(21, atoi(argv[1])) : 200;
    QTemporaryDir dir;
    sim::PtyPanel panel({}, dir.filePath(QStringLiteral("soak-port")));
    MainWindow form(panel.devicePath());
    form.show();
    auto *read = form.findChild<QPushButton *>(QStringLiteral("READ_CONFIG"));
    auto *write = form.findChild<QPushButton *>(QStringLiteral("WRITE_CONFIG"));
    QTextStream out(stdout);

    int unexpected = 0, faultsInjected = 0;
    long rssAt20 = 0;
    int fdsAt20 = 0;
    QElapsedTimer clock;
    clock.start();
    auto expect = [&](int cycle, const char *what, const QString &wanted) {
        const QString got = form.statusBox().toPlainText();
        if (got != wanted) {
            ++unexpected;
            out << "cycle " << cycle << " " << what << ": \"" << got << "\", expected \"" << wanted << "\"\n";
        }
    };

    for (int cycle = 1; cycle <= cycles; ++cycle) {
        sim::PanelFaults &faults = panel.panel().faults();
        faults = {};
        panel.clearLog(); // the simulator's own record would count as the tool's memory
        for (int sw = 0; sw < kSwitchCount; ++sw)
            selectCode(form, sw, codeFor(cycle, sw));

        // Writes: every 10th fails to verify at one address, every 25th meets a silent panel.
        const bool mismatch = cycle % 10 == 7, silent = cycle % 25 == 13;
        if (mismatch)
            faults.readReplyAt.insert(cycle % 11, "99990");
        faults.silent = silent;
        faultsInjected += mismatch || silent;
        write->click();
        expect(cycle, "write", silent ? kNoResponse : mismatch ? kBadData : kProgrammed);

        // Reads: every 15th loses its cable half-way, and the cable comes back afterwards.
        faults = {};
        const bool hangUp = cycle % 15 == 4;
        if (hangUp) {
            faults.hangUpAfterCommands = panel.commandsSincePlugIn() + 6;
            ++faultsInjected;
        }
        read->click();
        if (hangUp) {
            expect(cycle, "read", kBadData);
            panel.plugIn();
        } else {
            expect(cycle, "read", kReadOk);
            if (!mismatch && !silent) {
                for (int sw = 0; sw < kSwitchCount; ++sw) {
                    const int wanted = codeFor(cycle, sw);
                    if (shownCode(form, sw) != wanted) {
                        ++unexpected;
                        out << "cycle " << cycle << " SW" << sw + 1 << " shows " << shownCode(form, sw) << ", written "
                            << wanted << "\n";
                    }
                }
            }
        }
        if (form.session().port().isOpen()) {
            ++unexpected;
            out << "cycle " << cycle << ": port left open\n";
        }
        if (cycle == 20) {
            rssAt20 = residentKb();
            fdsAt20 = openDescriptors();
        }
        if (cycle % 50 == 0)
            out << "cycle " << cycle << ": " << residentKb() << " kB resident, " << openDescriptors()
                << " descriptors, " << clock.elapsed() / 1000 << " s\n"
                << Qt::flush;
    }

    const long rssEnd = residentKb();
    const int fdsEnd = openDescriptors();
    out << "\ncycles: " << cycles << " (each a full write and a full read), faults injected: " << faultsInjected
        << ", time: " << clock.elapsed() / 1000 << " s\n";
    out << "failures that should not have happened: " << unexpected << " (goal 0)\n";
    out << "memory growth from cycle 20 to " << cycles << ": " << (rssEnd - rssAt20) << " kB (goal under 1024 kB)\n";
    out << "descriptors leaked from cycle 20 to " << cycles << ": " << (fdsEnd - fdsAt20) << " (goal 0)\n";
    return unexpected == 0 && fdsEnd == fdsAt20 ? 0 : 1;
}
