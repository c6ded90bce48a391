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
#include <QThread>

#include <atomic>

using namespace kdr;
using namespace kdr::sim;

class TestInProcessLine : public QObject {
    Q_OBJECT
private slots:
    void readsAndWritesAsOverACable_data();
    void readsAndWritesAsOverACable();
    void silentOrHungUpPanelFails();
};

void TestInProcessLine::readsAndWritesAsOverACable_data()
{
    // The simulated window talks to its panel in its own thread; kdr-panel runs each
    // port's session in a thread of its own, the panel staying in the main thread.
    QTest::addColumn<bool>("sessionThread");
    QTest::newRow("one thread") << false;
    QTest::newRow("session in a thread of its own") << true;
}

void TestInProcessLine::readsAndWritesAsOverACable()
{
    QFETCH(bool, sessionThread);
    InProcessPanel panel;
    const int codes[] = {0, 13, 25, 37, 160, 159, 42, 58, 160, 99};
    for (int a = 0; a < 10; ++a)
        panel.panel().setCode(a, codes[a]);
    PanelSession session(QStringLiteral("SIMULATED"));
    session.port().useInProcessLine(panel.line());
    QThread thread;
    if (sessionThread) {
        session.moveToThread(&thread);
        thread.start();
    }
    // Runs an operation where the session lives, while this thread's events (the
    // panel's) keep running; after the last one the session comes home.
    QThread *home = QThread::currentThread();
    const auto run = [&](OperationResult (PanelSession::*operation)(), bool last) {
        OperationResult result;
        std::atomic<bool> ended = false;
        QMetaObject::invokeMethod(&session, [&] {
            result = (session.*operation)();
            if (last)
                session.moveToThread(home);
            ended = true;
        });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(ended, 5000); }();
        return result;
    };

    const OperationResult read = run(&PanelSession::readPanel, false);
    QCOMPARE(read.statusText, StatusTexts::kReadSuccessful);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(read.codesRead[i], std::optional<Code>(codes[i]));
    QVERIFY(!session.port().isOpen());

    // What was read is written back: one handshake, eleven writes each followed by its
    // read-back, every command one tick after the one before (a late wake-up would
    // make it two).
    panel.clearLog();
    for (int a = 0; a < 10; ++a)
        panel.panel().setCode(a, 160);
    const OperationResult written = run(&PanelSession::writePanel, true);
    thread.quit();
    thread.wait();
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
        const qint64 gap = log[1 + 2 * step].atMs - log[2 * step].atMs;
        QVERIFY2(gap >= TickWaiter::kTick.count() - 1 && gap <= 130,
                 qPrintable(QStringLiteral("step %1: %2 ms").arg(step).arg(gap)));
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
