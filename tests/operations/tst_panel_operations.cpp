// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PanelPort.h"
#include "model/HeadlessPanelView.h"
#include "model/StatusTexts.h"
#include "operations/PanelSession.h"
#include "operations/StepStatus.h"

#include "PtyPanel.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

using namespace kdr;
using namespace kdr::sim;
using namespace kdr::StatusTexts;

class TestPanelOperations : public QObject {
    Q_OBJECT
private slots:
    void init() { start(); }
    void cleanup();

    void fullReadShowsDecodedCodes();
    void readOfAllNotAssigned();
    void readFromAbsentPanel();
    void readAnsweredOnlyAtFourthAttempt();
    void readStopsAtOutOfRangeCode();
    void readStopsAtMissingReply();

    void writeRefusesIncompleteSwitches();
    void writeAllNotAssigned();
    void writeStopsAtMismatch();
    void writeFailsAtClosingAddressOnly();
    void writeFromAbsentPanel();

    void onlyATimelyNumberIsAReading_data();
    void onlyATimelyNumberIsAReading();

    void portThatCannotBeOpened();
    void unplugMidOperationThenReplug();
    void stepStatusTexts();
    void twoSessionsInTwoThreads();

private:
    void start(PanelFaults faults = {});
    HeadlessPanelView &view() { return m_session->headlessView(); }
    HeadlessStatusBox &status() { return m_session->headlessStatus(); }
    void setAll(int module, int channel = -1)
    {
        for (int i = 0; i < kSwitchCount; ++i) {
            view().selectModulePosition(i, module);
            if (channel >= 0)
                view().selectChannelPosition(i, channel);
        }
    }
    void expectEnded(const OperationResult &result, OperationOutcome outcome, const QString &text,
                     StatusColour colour = StatusColour::Red)
    {
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.statusText, text);
        QCOMPARE(status().text(), text);
        QCOMPARE(status().colour(), colour);
        QVERIFY(status().isVisible());
        QVERIFY(!m_session->port().isOpen());
        QVERIFY(!m_session->busy());
    }
    QList<QByteArray> writes() const
    {
        QList<QByteArray> found;
        for (const QByteArray &c : m_panel->commands())
            if (c.startsWith('S'))
                found << c;
        return found;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<PtyPanel> m_panel;
    std::unique_ptr<PanelSession> m_session;
};

void TestPanelOperations::start(PanelFaults faults)
{
    m_session.reset();
    m_panel.reset();
    m_panel = std::make_unique<PtyPanel>(std::move(faults), m_dir.filePath(QStringLiteral("panel-port")));
    QVERIFY(m_panel->isPluggedIn());
    m_session = std::make_unique<PanelSession>(m_panel->devicePath());
}

void TestPanelOperations::cleanup()
{
    m_session.reset();
    m_panel.reset();
}

void TestPanelOperations::fullReadShowsDecodedCodes()
{
    const int codes[] = {0, 9, 10, 25, 158, 159, 160, 25, 160, 159};
    for (int a = 0; a < 10; ++a)
        m_panel->panel().setCode(a, codes[a]);
    view().setPanelNameText(QStringLiteral("COACH"));
    view().setDesignationText(2, QStringLiteral("PORCH LIGHT"));

    const OperationResult result = m_session->readPanel();

    expectEnded(result, OperationOutcome::Succeeded, kReadSuccessful, StatusColour::Green);
    QCOMPARE(view().panelNameText(), QString());
    const int module[] = {1, 1, 2, 3, 16, 17, 0, 3, 0, 17};
    const int channel[] = {0, 9, 0, 5, 8};
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(result.codesRead[i], std::optional<Code>(codes[i]));
        QCOMPARE(view().modulePosition(i), module[i]);
        if (i < 5)
            QCOMPARE(view().channelPosition(i), channel[i]);
        QCOMPARE(view().channelListVisible(i), module[i] != 0 && module[i] != 17);
        QCOMPARE(view().designationText(i), QString());
        QVERIFY(!view().designationVisible(i));
    }
    QCOMPARE(m_panel->countOf("A"), 1);
    QCOMPARE(m_panel->commands().size(), 11); // no read of address 10
}

void TestPanelOperations::readOfAllNotAssigned()
{
    expectEnded(m_session->readPanel(), OperationOutcome::Succeeded, kReadSuccessful, StatusColour::Green);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(view().modulePosition(i), 0);
        QVERIFY(!view().channelListVisible(i));
        QVERIFY(!view().designationVisible(i));
    }
}

void TestPanelOperations::readFromAbsentPanel()
{
    PanelFaults silent;
    silent.silent = true;
    start(silent);
    view().selectModulePosition(0, 5);
    view().setPanelNameText(QStringLiteral("NAME"));
    expectEnded(m_session->readPanel(), OperationOutcome::NoResponse, kNoResponse);
    QCOMPARE(m_panel->countOf("A"), 6);
    QCOMPARE(m_panel->commands().size(), 6);
    QCOMPARE(view().panelNameText(), QString());
    QCOMPARE(view().modulePosition(0), 5);
    QCOMPARE(view().designationText(0), QStringLiteral("DESIGNATION "));
}

void TestPanelOperations::readAnsweredOnlyAtFourthAttempt()
{
    PanelFaults faults;
    faults.answerFromHandshake = 4;
    start(faults);
    QCOMPARE(m_session->readPanel().outcome, OperationOutcome::Succeeded);
    QCOMPARE(m_panel->countOf("A"), 4);
}

void TestPanelOperations::readStopsAtOutOfRangeCode()
{
    PanelFaults faults;
    faults.readReplyAt.insert(3, "01700");
    start(faults);
    for (int a = 0; a < 3; ++a)
        m_panel->panel().setCode(a, 20 + a);
    setAll(2, 4); // "B" / "5" everywhere beforehand
    view().setDesignationText(5, QStringLiteral("AWNING"));

    const OperationResult result = m_session->readPanel();
    const qint64 endedAt = m_panel->elapsedMs();

    expectEnded(result, OperationOutcome::BadData, kBadData);
    QCOMPARE(result.failedSwitch, 3);
    QCOMPARE(result.codesRead[3], std::optional<Code>(170));
    QVERIFY(!result.codesRead[4]);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(view().modulePosition(i), 3);
        QCOMPARE(view().channelPosition(i), i);
    }
    QCOMPARE(view().modulePosition(3), 0); // 170 shows as "N/A"
    QVERIFY(!view().channelListVisible(3));
    QVERIFY(!view().designationVisible(3));
    QCOMPARE(view().designationText(3), QString());
    for (int i = 4; i < 10; ++i) {
        QCOMPARE(view().modulePosition(i), 2);
        QCOMPARE(view().channelPosition(i), 4);
        QVERIFY(view().designationVisible(i));
    }
    QCOMPARE(view().designationText(5), QStringLiteral("AWNING"));
    // Red at once: the failure follows the fourth read without a further tick.
    const auto &log = m_panel->received();
    QCOMPARE(log.size(), 5);
    QVERIFY(endedAt - log.last().atMs < 100);
}

void TestPanelOperations::readStopsAtMissingReply()
{
    PanelFaults faults;
    faults.readReplyAt.insert(1, "");
    start(faults);
    view().selectModulePosition(1, 7);
    view().selectChannelPosition(1, 2);
    const OperationResult result = m_session->readPanel();
    expectEnded(result, OperationOutcome::BadData, kBadData);
    QCOMPARE(result.failedSwitch, 1);
    QCOMPARE(view().modulePosition(0), 0); // SW1 was read
    QCOMPARE(view().modulePosition(1), 7); // SW2 shows no value that was never read
    QCOMPARE(view().channelPosition(1), 2);
    QVERIFY(view().designationVisible(1));
    QCOMPARE(view().designationText(1), QStringLiteral("DESIGNATION "));
}

void TestPanelOperations::writeRefusesIncompleteSwitches()
{
    setAll(0);
    view().selectModulePosition(2, 3); // "C" without a channel
    OperationResult result = m_session->writePanel();
    expectEnded(result, OperationOutcome::Incomplete, kIncomplete);
    QCOMPARE(result.failedSwitch, 2);

    view().selectChannelPosition(2, 1);
    view().selectModulePosition(4, -1); // no module at all for SW5
    result = m_session->writePanel();
    expectEnded(result, OperationOutcome::Incomplete, kIncomplete);
    QCOMPARE(result.failedSwitch, 4);
    QVERIFY(m_panel->received().isEmpty());
}

void TestPanelOperations::writeAllNotAssigned()
{
    setAll(0);
    view().setPanelNameText(QStringLiteral("COACH"));
    view().setDesignationText(0, QStringLiteral("STEP"));

    expectEnded(m_session->writePanel(), OperationOutcome::Succeeded, kProgrammed, StatusColour::Green);
    const QList<QByteArray> written = writes();
    QCOMPARE(written.size(), 11);
    for (int a = 0; a < 11; ++a) {
        QCOMPARE(quint8(written[a][2]), a);
        QCOMPARE(quint8(written[a][4]), a < 10 ? 160 : 159);
        QCOMPARE(m_panel->panel().code(a), a < 10 ? 160 : 159);
    }
    QCOMPARE(m_panel->commands().size(), 1 + 22); // every write read back
    const auto &log = m_panel->received();
    // A tick before every write step, as the panel sees it; not two.
    const auto oneTickAfter = [&](int i, int before) {
        const qint64 gap = log[i].atMs - log[before].atMs;
        return gap >= 90 && gap <= 130;
    };
    QVERIFY(oneTickAfter(1, 0));
    for (int i = 3; i < log.size(); i += 2)
        QVERIFY2(oneTickAfter(i, i - 1), qPrintable(QStringLiteral("write step at command %1").arg(i)));
    // A write changes no list and no text box.
    QCOMPARE(view().panelNameText(), QStringLiteral("COACH"));
    QCOMPARE(view().designationText(0), QStringLiteral("STEP"));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(view().modulePosition(i), 0);
}

void TestPanelOperations::writeStopsAtMismatch()
{
    PanelFaults faults;
    faults.readReplyAt.insert(4, "01510");
    start(faults);
    setAll(3, 3);
    const OperationResult result = m_session->writePanel();
    expectEnded(result, OperationOutcome::BadData, kBadData);
    QCOMPARE(result.failedSwitch, 4);
    const QList<QByteArray> written = writes();
    QCOMPARE(written.size(), 5);
    QCOMPARE(quint8(written.last()[2]), 4);
    for (int a = 5; a <= 10; ++a)
        QCOMPARE(m_panel->panel().code(a), a < 10 ? 160 : 159);
}

void TestPanelOperations::writeFailsAtClosingAddressOnly()
{
    PanelFaults faults;
    faults.readReplyAt.insert(10, "01580");
    start(faults);
    setAll(16, 9); // "P" + "10" is written as 159
    const OperationResult result = m_session->writePanel();
    expectEnded(result, OperationOutcome::BadData, kBadData);
    QCOMPARE(result.failedSwitch, -1); // no switch of its own
    QCOMPARE(writes().size(), 11);
    for (int a = 0; a < 10; ++a)
        QCOMPARE(m_panel->panel().code(a), 159);
}

void TestPanelOperations::writeFromAbsentPanel()
{
    PanelFaults silent;
    silent.silent = true;
    start(silent);
    setAll(17);
    expectEnded(m_session->writePanel(), OperationOutcome::NoResponse, kNoResponse);
    QCOMPARE(m_panel->countOf("A"), 6);
    QVERIFY(writes().isEmpty());
}

void TestPanelOperations::onlyATimelyNumberIsAReading_data()
{
    // A reply that comes after its tick, or is no number, is no reading: the operation
    // stops red instead of showing a neighbour's value, a fraction of one, or a zero.
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("dripMs");
    QTest::addColumn<QByteArray>("atAddress2");
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("failedSwitch"); // −1: succeeds; −2: fails somewhere
    QTest::newRow("read, every reply 120 ms late") << 120 << 0 << QByteArray() << false << 0;
    QTest::newRow("write, every reply 120 ms late") << 120 << 0 << QByteArray() << true << 0;
    QTest::newRow("read, dripped a byte per 30 ms") << 0 << 30 << QByteArray() << false << -2;
    QTest::newRow("write, dripped a byte per 30 ms") << 0 << 30 << QByteArray() << true << -2;
    QTest::newRow("read, XYZZY") << 0 << 0 << QByteArray("XYZZY") << false << 2;
    QTest::newRow("read, a stray D000D") << 0 << 0 << QByteArray("D000D") << false << 2;
    QTest::newRow("read, junk before the digits") << 0 << 0 << QByteArray("xx1500") << false << 2;
    QTest::newRow("write, read-back ERR!! of code 0") << 0 << 0 << QByteArray("ERR!!") << true << 2;
    QTest::newRow("read, every reply 60 ms late") << 60 << 0 << QByteArray() << false << -1;
    QTest::newRow("read, dripped within the tick") << 0 << 12 << QByteArray() << false << -1;
    QTest::newRow("write, every reply 60 ms late") << 60 << 0 << QByteArray() << true << -1;
    QTest::newRow("write, dripped within the tick") << 0 << 12 << QByteArray() << true << -1;
    QTest::newRow("read, blanks and line end") << 0 << 0 << QByteArray(" 250.\r\n") << false << -1;
}

void TestPanelOperations::onlyATimelyNumberIsAReading()
{
    QFETCH(int, delayMs);
    QFETCH(int, dripMs);
    QFETCH(QByteArray, atAddress2);
    QFETCH(bool, write);
    QFETCH(int, failedSwitch);
    PanelFaults faults;
    faults.replyDelay = std::chrono::milliseconds(delayMs);
    faults.dripInterval = std::chrono::milliseconds(dripMs);
    if (!atAddress2.isEmpty())
        faults.readReplyAt.insert(2, atAddress2);
    start(faults);
    const int codes[] = {13, 25, 25, 42, 160, 159, 0, 99, 150, 7};
    for (int a = 0; a < kSwitchCount; ++a)
        m_panel->panel().setCode(a, write ? 160 : codes[a]);
    setAll(1, 0); // "A" / "1", code 0, everywhere beforehand

    const OperationResult result = write ? m_session->writePanel() : m_session->readPanel();
    if (failedSwitch == -1) {
        QCOMPARE(result.outcome, OperationOutcome::Succeeded);
        for (int i = 0; i < kSwitchCount; ++i)
            QCOMPARE(write ? m_panel->panel().code(i) : int(*result.codesRead[i]), write ? 0 : codes[i]);
        return;
    }
    QVERIFY(result.outcome == OperationOutcome::BadData || result.outcome == OperationOutcome::NoResponse);
    QCOMPARE(status().colour(), StatusColour::Red);
    if (failedSwitch >= 0) {
        QCOMPARE(result.failedSwitch, failedSwitch);
        QCOMPARE(view().failedSwitch(), failedSwitch);
    }
    // Every switch shows what it showed before or what the panel holds, nothing else.
    for (int i = 0; !write && i < kSwitchCount; ++i) {
        const int module = view().modulePosition(i), channel = view().channelPosition(i);
        const bool before = module == 1 && channel == 0;
        const bool panels = module == (codes[i] == 160   ? 0
                                       : codes[i] == 159 ? 17
                                                         : codes[i] / 10 + 1) &&
                            (module == 0 || module == 17 || channel == codes[i] % 10);
        QVERIFY2(before || panels, qPrintable(QStringLiteral("SW%1 shows %2/%3").arg(i + 1).arg(module).arg(channel)));
        QVERIFY(!result.codesRead[i] || *result.codesRead[i] == codes[i]);
    }
}

void TestPanelOperations::portThatCannotBeOpened()
{
    m_session->setDevice(QStringLiteral("/nonexistent/ttyS0"));
    view().setPanelNameText(QStringLiteral("KEEP"));
    const OperationResult read = m_session->readPanel();
    QCOMPARE(read.outcome, OperationOutcome::PortNotOpened);
    QCOMPARE(read.portError, PortOpenError::NoSuchPort);
    QCOMPARE(view().panelNameText(), QString());
    QVERIFY(status().text().startsWith(
        QStringLiteral("COMMUNICATIONS FAILURE-SERIAL PORT /nonexistent/ttyS0 COULD NOT BE OPENED")));
    // Incomplete selections too, but the port comes first.
    QCOMPARE(m_session->writePanel().outcome, OperationOutcome::PortNotOpened);
    QCOMPARE(status().colour(), StatusColour::Red);
}

void TestPanelOperations::unplugMidOperationThenReplug()
{
    m_panel->panel().faults().hangUpAfterCommands = 3;
    OperationResult result = m_session->readPanel();
    expectEnded(result, OperationOutcome::ConnectionLost, kBadData);
    QCOMPARE(view().modulePosition(0), 0); // SW1 was read before the cable went
    const int sentBeforeLoss = m_panel->commandsSincePlugIn();

    m_panel->panel().faults().hangUpAfterCommands = 1;
    QVERIFY(m_panel->plugIn());
    setAll(0);
    // Gone during the handshake: a lost line, said as elsewhere, before any switch.
    result = m_session->writePanel();
    expectEnded(result, OperationOutcome::ConnectionLost, kBadData);
    QVERIFY(!result.greeted);
    QCOMPARE(sentBeforeLoss, 3);

    m_panel->panel().faults().hangUpAfterCommands = 0;
    QVERIFY(m_panel->plugIn());
    expectEnded(m_session->readPanel(), OperationOutcome::Succeeded, kReadSuccessful, StatusColour::Green);

    // Pulled in the pause after SW3's whole reply: SW3 shows it, the read stops at
    // SW4; in the pause after SW10's, at SW10, which keeps its reading too.
    for (const auto &[address, code, stoppedAt] : {std::tuple{2, 37, 3}, std::tuple{9, 58, 9}}) {
        m_panel->panel().faults().hangUpAfterCommands = 0;
        QVERIFY(m_panel->plugIn());
        m_panel->panel().setCode(address, code);
        const QByteArray last = QByteArray::number(code * 10).rightJustified(5, '0');
        const auto pull = connect(m_panel.get(), &PtyPanel::replied, m_panel.get(), [this, last](const QByteArray &r) {
            if (r == last)
                QTimer::singleShot(30, m_panel.get(), [this] { m_panel->hangUp(); });
        });
        result = m_session->readPanel();
        disconnect(pull);
        expectEnded(result, OperationOutcome::ConnectionLost, kBadData);
        QCOMPARE(result.codesRead[address], std::optional<Code>(code));
        QCOMPARE(result.failedSwitch, stoppedAt);
    }
    QCOMPARE(view().modulePosition(2), 4);
}

void TestPanelOperations::stepStatusTexts()
{
    // What each exchange shows while an operation runs; a failing acknowledgement shows nothing.
    using O = LinkOutcome;
    const auto write = [](O o) { return statusAfterStep(StepKind::Write, o); };
    const auto read = [](O o) { return statusAfterStep(StepKind::Read, o); };
    QCOMPARE(write(O::Ok)->text, kCommunicationsOk);
    QCOMPARE(write(O::Ok)->colour, std::optional(StatusColour::Yellow));
    QCOMPARE(read(O::Ok)->text, kCommunicationsOk);
    QVERIFY(!read(O::Ok)->colour);
    QCOMPARE(write(O::Mismatch)->text, kFailedToVerify);
    QCOMPARE(write(O::ShortReply)->text, kCorrupted);
    QCOMPARE(read(O::OutOfRange)->text, kOutOfRange);
    QVERIFY(!write(O::NoAcknowledgement));
    QVERIFY(!read(O::Interrupted));
}

void TestPanelOperations::twoSessionsInTwoThreads()
{
    // Each session in a thread of its own; both simulators answer from this one.
    PtyPanel second({}, m_dir.filePath(QStringLiteral("second-port")));
    m_panel->panel().setCode(0, 42);
    second.panel().setCode(0, 7);
    PanelSession other(second.devicePath());
    std::array<PanelSession *, 2> sessions{m_session.get(), &other};
    std::array<std::unique_ptr<QThread>, 2> threads;
    std::array<OperationResult, 2> results;
    std::array<std::atomic<bool>, 2> done{};
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 2; ++i) {
        sessions[i]->moveToThread(nullptr);
        threads[i].reset(QThread::create([&, i] {
            sessions[i]->moveToThread(QThread::currentThread());
            results[i] = sessions[i]->readPanel();
            sessions[i]->moveToThread(nullptr);
            done[i].store(true, std::memory_order_release);
        }));
        threads[i]->start();
    }
    QTRY_VERIFY_WITH_TIMEOUT(done[0].load(std::memory_order_acquire) && done[1].load(std::memory_order_acquire), 5000);
    for (const auto &t : threads)
        t->wait();
    for (PanelSession *s : sessions)
        s->moveToThread(thread());
    QCOMPARE(results[0].outcome, OperationOutcome::Succeeded);
    QCOMPARE(results[1].outcome, OperationOutcome::Succeeded);
    QCOMPARE(results[0].codesRead[0], std::optional<Code>(42));
    QCOMPARE(results[1].codesRead[0], std::optional<Code>(7));
    // Side by side, not one after the other: two reads take about as long as one.
    QVERIFY2(clock.elapsed() < 2 * 11 * 100, qPrintable(QString::number(clock.elapsed())));
}

QTEST_GUILESS_MAIN(TestPanelOperations)
#include "tst_panel_operations.moc"
