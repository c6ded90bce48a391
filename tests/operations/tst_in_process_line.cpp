// SPDX-License-Identifier: GPL-3.0-or-later
// The in-process line, which the simulated programs use on every platform: the same
// wire as over a serial port, with nothing but the program itself.
#include "link/PanelPort.h"
#include "link/TickWaiter.h"
#include "model/HeadlessPanelView.h"
#include "model/StatusTexts.h"
#include "operations/PanelSession.h"

#include "InProcessPanel.h"

#include <QTest>

using namespace kdr;
using namespace kdr::sim;

class TestInProcessLine : public QObject {
    Q_OBJECT
private slots:
    void readsAndWritesAsOverACable();
    void silentOrHungUpPanelFails();
};

void TestInProcessLine::readsAndWritesAsOverACable()
{
    InProcessPanel panel;
    const int codes[] = {0, 13, 25, 37, 160, 159, 42, 58, 160, 99};
    for (int a = 0; a < 10; ++a)
        panel.panel().setCode(a, codes[a]);
    PanelSession session(QStringLiteral("SIMULATED"));
    session.port().useInProcessLine(panel.line());

    const OperationResult read = session.readPanel();
    QCOMPARE(read.statusText, StatusTexts::kReadSuccessful);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(read.codesRead[i], std::optional<Code>(codes[i]));
    QVERIFY(!session.port().isOpen());

    // What was read is written back: one handshake, eleven writes each followed by its
    // read-back, every command at least a tick after the one before.
    panel.clearLog();
    for (int a = 0; a < 10; ++a)
        panel.panel().setCode(a, 160);
    const OperationResult written = session.writePanel();
    QCOMPARE(written.statusText, StatusTexts::kProgrammed);
    for (int a = 0; a < 10; ++a)
        QCOMPARE(panel.panel().code(a), codes[a]);
    const auto &log = panel.received();
    QCOMPARE(log.size(), 1 + 2 * 11);
    QCOMPARE(log[0].bytes, QByteArray("A"));
    for (int step = 0; step < 11; ++step) {
        const QByteArray &write = log[1 + 2 * step].bytes;
        QCOMPARE(write[0], 'S');
        QCOMPARE(int(write[2]), step);
        QCOMPARE(log[2 + 2 * step].bytes, QByteArray("V\0", 2) + char(step) + "00V");
        QVERIFY2(log[1 + 2 * step].atMs - log[2 * step].atMs >= TickWaiter::kTick.count() - 1,
                 qPrintable(QStringLiteral("step %1").arg(step)));
    }
}

void TestInProcessLine::silentOrHungUpPanelFails()
{
    PanelFaults silent;
    silent.silent = true;
    InProcessPanel quiet(silent);
    PanelSession session(QStringLiteral("SIMULATED"));
    session.port().useInProcessLine(quiet.line());
    QCOMPARE(session.readPanel().outcome, OperationOutcome::NoResponse);
    QCOMPARE(quiet.countOf("A"), 6);

    InProcessPanel unplugged;
    unplugged.hangUp();
    session.port().useInProcessLine(unplugged.line());
    QCOMPARE(session.readPanel().outcome, OperationOutcome::NoResponse);
}

QTEST_GUILESS_MAIN(TestInProcessLine)
#include "tst_in_process_line.moc"
