// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/PanelPort.h"
#include "link/PanelProtocol.h"
#include "link/PanelReply.h"
#include "link/TickWaiter.h"
#include "link/WireTrace.h"

#include "PtyPanel.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kdr;
using namespace kdr::sim;

namespace {

// The tool's side of one cable to a simulated panel over a pseudo-terminal.
struct Link {
    explicit Link(PanelFaults faults = {})
        : panel(std::move(faults)), port(panel.devicePath()), waiter(state, port), protocol(state, port, waiter)
    {
        port.open(kPanelLineSettings);
    }

    PtyPanel panel;
    WorkingState state;
    PanelPort port;
    TickWaiter waiter;
    PanelProtocol protocol;
};

} // namespace

class TestPanelLink : public QObject {
    Q_OBJECT
private slots:
    void valueRule_data();
    void valueRule();
    void onlyNumbersAreReadings_data();
    void onlyNumbersAreReadings();

    void tickNeverComesEarly();
    void waitEndsOnFiveBytesOrTheTick();
    void bytesAlreadyWaitingCountTowardsTheNextWait();

    void handshakeFirstAnswer();
    void handshakeSilentPanel();
    void handshakeWrongBytesSendsOnce();
    void handshakeAnswerOnlyToFourth();
    void handshakeTwoAcknowledgementsFail();
    void handshakeCompletedWithTheTickFails();

    void framesAreByteExact();
    void writeVerifies_data();
    void writeVerifies();
    void readValues_data();
    void readValues();
    void hangUpMidWaitEndsTheWait();
    void portThatCannotOpen();
    void portOpenFailuresSayWhy();
    void wireTraceShowsEveryByte();
    void lineIsEmptiedWhenThePortOpens();
};

void TestPanelLink::valueRule_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("outside");
    QTest::newRow("1500") << QByteArray("1500") << 150 << false;
    QTest::newRow("leading zero") << QByteArray("01500") << 150 << false;
    QTest::newRow("half to even down") << QByteArray("1505") << 150 << false;
    QTest::newRow("half to even up") << QByteArray("1515") << 152 << false;
    QTest::newRow("159.5 to 160") << QByteArray("1595") << 160 << false;
    QTest::newRow("blanks skipped") << QByteArray("  1230") << 123 << false;
    QTest::newRow("letter first") << QByteArray("X1234") << 0 << false;
    QTest::newRow("trailing junk") << QByteArray("0160D") << 16 << false;
    QTest::newRow("negative") << QByteArray("-0100") << -10 << false;
    QTest::newRow("largest") << QByteArray("327674") << 32767 << false;
    QTest::newRow("beyond 16 bits") << QByteArray("327675") << 32767 << true;
    QTest::newRow("40 digits") << QByteArray(40, '9') << 32767 << true;
    QTest::newRow("far below") << QByteArray("-999999") << -32768 << true;
}

void TestPanelLink::valueRule()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, code);
    QFETCH(bool, outside);
    const ReplyValue v = ConvertReply(reply);
    QCOMPARE(int(v.code), code);
    QCOMPARE(v.outside16Bit, outside);
}

void TestPanelLink::onlyNumbersAreReadings_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("numeric");
    for (const char *good : {"01500", " 1500", "-0010", "+0150", "1505.", "150.5", "1500\r", "1500\r\n", "1500  "})
        QTest::newRow(good) << QByteArray(good) << true;
    for (const char *bad : {"XYZZY", "D000D", "xx1500", "15 00", "1.5.0", "-.", "  ", "1500D"})
        QTest::newRow(bad) << QByteArray(bad) << false;
    QTest::newRow("zero byte inside") << QByteArray("015\0000", 6) << false;
}

void TestPanelLink::onlyNumbersAreReadings()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, numeric);
    QCOMPARE(IsNumericReply(reply), numeric);
}

void TestPanelLink::tickNeverComesEarly()
{
    PanelFaults silent;
    silent.silent = true;
    Link link(silent);
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer clock;
        clock.start();
        link.waiter.WaitOneTick();
        QVERIFY2(clock.elapsed() >= 100 && clock.elapsed() <= 130, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(link.state.timer_flag, 1);
        clock.restart();
        link.waiter.WaitForReply();
        QVERIFY2(clock.elapsed() >= 100 && clock.elapsed() <= 130, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(link.port.bytesWaiting(), 0);
        QCOMPARE(link.port.takeAll(), QByteArray());
    }
}

void TestPanelLink::waitEndsOnFiveBytesOrTheTick()
{
    PanelFaults faults;
    faults.readReplyAt.insert(0, "0150");  // four bytes
    faults.readReplyAt.insert(1, "01500"); // five
    Link link(faults);

    link.port.send(PanelProtocol::readCommand(1));
    QElapsedTimer clock;
    clock.start();
    link.waiter.WaitForReply();
    QVERIFY(clock.elapsed() < 100);
    QCOMPARE(link.state.timer_flag, 0);
    QCOMPARE(link.port.takeAll(), QByteArray("01500"));

    link.port.send(PanelProtocol::readCommand(0));
    clock.restart();
    link.waiter.WaitForReply();
    QVERIFY(clock.elapsed() >= 100);
    QCOMPARE(link.state.timer_flag, 1);
    QCOMPARE(link.port.bytesWaiting(), 4);
}

void TestPanelLink::bytesAlreadyWaitingCountTowardsTheNextWait()
{
    Link link;
    link.port.send(PanelProtocol::readCommand(2));
    link.waiter.WaitOneTick(); // ends on the tick alone; the reply stays waiting
    QCOMPARE(link.port.bytesWaiting(), 5);
    QElapsedTimer clock;
    clock.start();
    link.waiter.WaitForReply();
    QVERIFY(clock.elapsed() < 50);
    QCOMPARE(link.state.timer_flag, 0);

    // Before the next command they are dropped: the write's own replies count.
    link.state.address_l = 2;
    link.state.data_l = 20;
    QCOMPARE(link.protocol.WriteSwitchCode().outcome, LinkOutcome::Ok);
    QCOMPARE(link.state.error_flag, 0);
}

void TestPanelLink::handshakeFirstAnswer()
{
    Link link;
    QCOMPARE(link.protocol.Handshake(), LinkOutcome::Ok);
    QCOMPARE(link.panel.commands(), QList<QByteArray>{"A"});
}

void TestPanelLink::handshakeSilentPanel()
{
    PanelFaults silent;
    silent.silent = true;
    Link link(silent);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(link.protocol.Handshake(), LinkOutcome::NoAcknowledgement);
    const qint64 took = clock.elapsed();
    QCOMPARE(link.panel.countOf("A"), 6);
    const auto &log = link.panel.received();
    // A tick apart, less what the panel is late to notice; a wake-up that missed its
    // tick would make it two.
    for (int i = 1; i < log.size(); ++i)
        QVERIFY2(
            log[i].atMs - log[i - 1].atMs >= 90 && log[i].atMs - log[i - 1].atMs <= 130,
            qPrintable(
                QStringLiteral("send %1 came %2 ms after the one before").arg(i).arg(log[i].atMs - log[i - 1].atMs)));
    QVERIFY2(took >= 600 && took < 1200, qPrintable(QString::number(took)));
}

void TestPanelLink::handshakeWrongBytesSendsOnce()
{
    PanelFaults faults;
    faults.handshakeReply = QByteArray::fromHex("4430303144");
    Link link(faults);
    QCOMPARE(link.protocol.Handshake(), LinkOutcome::NoAcknowledgement);
    QCOMPARE(link.panel.countOf("A"), 1);
}

void TestPanelLink::handshakeAnswerOnlyToFourth()
{
    PanelFaults faults;
    faults.answerFromHandshake = 4;
    Link link(faults);
    QCOMPARE(link.protocol.Handshake(), LinkOutcome::Ok);
    QCOMPARE(link.panel.countOf("A"), 4);
}

void TestPanelLink::handshakeTwoAcknowledgementsFail()
{
    PanelFaults faults;
    faults.trailing = "D000D";
    Link link(faults);
    QCOMPARE(link.protocol.Handshake(), LinkOutcome::NoAcknowledgement);
    QCOMPARE(link.panel.countOf("A"), 1);
}

void TestPanelLink::handshakeCompletedWithTheTickFails()
{
    PanelFaults faults;
    faults.stallAfterReply =
        std::chrono::milliseconds(150); // the reply and the tick are both pending when events run again
    Link link(faults);
    QCOMPARE(link.protocol.Handshake(), LinkOutcome::NoAcknowledgement);
    QCOMPARE(link.state.timer_flag, 1);
    QCOMPARE(link.panel.countOf("A"), 1);
}

void TestPanelLink::framesAreByteExact()
{
    Link link;
    link.state.address_l = 3;
    link.state.data_l = 150;
    link.protocol.WriteSwitchCode();
    link.state.address_l = 9;
    link.protocol.ReadSwitchCode();
    const QList<QByteArray> sent = link.panel.commands();
    QCOMPARE(sent.size(), 3);
    QCOMPARE(sent[0], QByteArray::fromHex("530003009644"));
    QCOMPARE(sent[1], QByteArray::fromHex("560003303056")); // the read-back
    QCOMPARE(sent[2], QByteArray::fromHex("560009303056"));
    QCOMPARE(link.panel.panel().code(3), 150);
}

void TestPanelLink::writeVerifies_data()
{
    QTest::addColumn<QByteArray>("ack");
    QTest::addColumn<QByteArray>("readBack"); // what a read of address 3 answers; null: the stored code
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("a");
    QTest::addColumn<LinkOutcome>("outcome");
    QTest::addColumn<int>("commands");

    using O = LinkOutcome;
    QTest::newRow("verified") << QByteArray("D000D") << QByteArray() << 0 << 150 << O::Ok << 2;
    QTest::newRow("1505 verifies 150") << QByteArray("D000D") << QByteArray("1505") << 0 << 150 << O::Ok << 2;
    QTest::newRow("151 is not 150") << QByteArray("D000D") << QByteArray("1510") << 1 << 151 << O::Mismatch << 2;
    QTest::newRow("short read-back") << QByteArray("D000D") << QByteArray("15") << 1 << 7 << O::ShortReply << 2;
    QTest::newRow("junk read-back of 0") << QByteArray("D000D") << QByteArray("ERR!!") << 1 << 7 << O::NotANumber << 2;
    QTest::newRow("lower-case ack") << QByteArray("d000d") << QByteArray() << 1 << 7 << O::NoAcknowledgement << 1;
    QTest::newRow("over-long ack") << QByteArray("D000DD") << QByteArray() << 1 << 7 << O::NoAcknowledgement << 1;
}

void TestPanelLink::writeVerifies()
{
    QFETCH(QByteArray, ack);
    QFETCH(QByteArray, readBack);
    QFETCH(int, error);
    QFETCH(int, a);
    QFETCH(LinkOutcome, outcome);
    QFETCH(int, commands);

    PanelFaults faults;
    faults.writeAcknowledgement = ack;
    if (!readBack.isNull())
        faults.readReplyAt.insert(3, readBack);
    Link link(faults);
    link.state.A = 7;
    link.state.error_flag = 1;
    link.state.address_l = 3;
    link.state.data_l = 150;
    const StepResult step = link.protocol.WriteSwitchCode();
    QCOMPARE(step.outcome, outcome);
    QCOMPARE(int(link.state.error_flag), error);
    QCOMPARE(int(link.state.A), a);
    QCOMPARE(step.value.has_value(), outcome == LinkOutcome::Ok || outcome == LinkOutcome::Mismatch);
    QCOMPARE(link.panel.commands().size(), commands);
}

void TestPanelLink::readValues_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("a");
    QTest::addColumn<LinkOutcome>("outcome");
    using O = LinkOutcome;
    QTest::newRow("1600 is N/A") << QByteArray("1600") << 0 << 160 << O::Ok;
    QTest::newRow("1615 rounds to 162") << QByteArray("1615") << 1 << 162 << O::OutOfRange;
    QTest::newRow("letter first") << QByteArray("Q1234") << 1 << 42 << O::NotANumber;
    QTest::newRow("stray acknowledgement") << QByteArray("D000D") << 1 << 42 << O::NotANumber;
    QTest::newRow("negative") << QByteArray("-0010") << 1 << -1 << O::OutOfRange;
    QTest::newRow("beyond 16 bits") << QByteArray("99999999") << 1 << 32767 << O::OutOfRange;
    QTest::newRow("short") << QByteArray("016") << 1 << 42 << O::ShortReply;
    QTest::newRow("missing") << QByteArray("") << 1 << 42 << O::ShortReply;
}

void TestPanelLink::readValues()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, error);
    QFETCH(int, a);
    QFETCH(LinkOutcome, outcome);

    PanelFaults faults;
    faults.readReplyAt.insert(5, reply);
    Link link(faults);
    link.state.A = 42;
    link.state.error_flag = 1;
    link.state.address_l = 5;
    const StepResult step = link.protocol.ReadSwitchCode();
    QCOMPARE(step.outcome, outcome);
    QCOMPARE(int(link.state.error_flag), error);
    QCOMPARE(int(link.state.A), a);
    QCOMPARE(step.value.has_value(), outcome == LinkOutcome::Ok || outcome == LinkOutcome::OutOfRange);
}

void TestPanelLink::hangUpMidWaitEndsTheWait()
{
    PanelFaults faults;
    faults.silent = true;
    faults.hangUpAfterCommands = 1;
    Link link(faults);
    QSignalSpy lost(&link.port, &PanelPort::connectionLost);
    link.state.address_l = 0;
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(link.protocol.ReadSwitchCode().outcome, LinkOutcome::ConnectionLost);
    QVERIFY2(clock.elapsed() < 150, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(link.state.error_flag, 1);
    QCOMPARE(lost.count(), 1);
    QVERIFY(link.port.lostConnection());
    QVERIFY(!link.port.isOpen());

    // Whatever runs next on the dead port fails at once instead of hanging.
    clock.restart();
    QCOMPARE(link.protocol.Handshake(), LinkOutcome::ConnectionLost);
    QVERIFY(clock.elapsed() < 150);
    QCOMPARE(link.panel.commands().size(), 1); // nothing went out after the loss
    link.port.close();
}

void TestPanelLink::portThatCannotOpen()
{
    PanelPort port(QStringLiteral("/nonexistent/ttyS0"));
    QVERIFY(port.open(kPanelLineSettings) != PortOpenError::None);
    QVERIFY(!port.isOpen());
    QCOMPARE(port.device(), QStringLiteral("/nonexistent/ttyS0"));
    port.send("A"); // harmless on a closed port
    QCOMPARE(port.bytesWaiting(), 0);

#ifdef Q_OS_WIN
    QCOMPARE(PanelPort::defaultDevice(), QStringLiteral("COM1"));
#else
    QCOMPARE(PanelPort::defaultDevice(), QStringLiteral("/dev/ttyS0"));
#endif
}

void TestPanelLink::lineIsEmptiedWhenThePortOpens()
{
    // Bytes that reached the line while the port was closed never join a reply.
    PtyPanel panel;
    panel.sendUnprompted("D000D");
    WorkingState state;
    PanelPort port(panel.devicePath());
    TickWaiter waiter(state, port);
    PanelProtocol protocol(state, port, waiter);
    QCOMPARE(port.open(kPanelLineSettings), PortOpenError::None);
    QCOMPARE(protocol.Handshake(), LinkOutcome::Ok);
    QCOMPARE(panel.countOf("A"), 1);
}

void TestPanelLink::portOpenFailuresSayWhy()
{
    const auto openError = [](const QString &device) { return PanelPort(device).open(kPanelLineSettings); };
    QTemporaryDir dir;
    QCOMPARE(openError(dir.filePath(QStringLiteral("ttyUSB9"))), PortOpenError::NoSuchPort);
    QFile regular(dir.filePath(QStringLiteral("notes.txt")));
    QVERIFY(regular.open(QIODevice::WriteOnly));
    regular.close();
    QCOMPARE(openError(regular.fileName()), PortOpenError::NotASerialPort);

    PtyPanel panel;
    {
        QSerialPort other(panel.devicePath()); // another program has the port open
        QVERIFY(other.open(QIODevice::ReadWrite));
        QCOMPARE(openError(panel.devicePath()), PortOpenError::InUse);
    }
    QCOMPARE(openError(panel.devicePath()), PortOpenError::None);

    // Another program's lock file, in the plain "%10d\n" form, naming a live process.
    QProcess holder;
    holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    QVERIFY(holder.waitForStarted());
    const QString lockPath =
        QStringLiteral("/run/lock/LCK..") + panel.devicePath().mid(5).replace(QLatin1Char('/'), QLatin1Char('_'));
    QFile lock(lockPath);
    if (lock.open(QIODevice::WriteOnly)) {
        const QByteArray content = QByteArray::number(holder.processId()).rightJustified(10, ' ') + '\n';
        lock.write(content);
        lock.close();
        QCOMPARE(openError(panel.devicePath()), PortOpenError::InUse);
        QVERIFY(QFile::exists(lockPath)); // respected, never deleted
        holder.kill();
        holder.waitForFinished();
        QCOMPARE(openError(panel.devicePath()), PortOpenError::None); // the holder is gone: stale
        QFile::remove(lockPath);
    } else {
        qInfo("no lock-file test: /run/lock is not writable here");
    }

    // A device without read and write permission for the user.
    if (geteuid() != 0) {
        QVERIFY(chmod(QFile::encodeName(panel.devicePath()).constData(), 0) == 0);
        QCOMPARE(openError(panel.devicePath()), PortOpenError::PermissionDenied);
        chmod(QFile::encodeName(panel.devicePath()).constData(), 0600);
        return;
    }
    const QString device = panel.devicePath();
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
        _exit(dropped && PanelPort(device).open(kPanelLineSettings) == PortOpenError::PermissionDenied ? 0 : 1);
    }
    int status = 1;
    waitpid(child, &status, 0);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "as an ordinary user the port is PERMISSION DENIED");
}

namespace {
QStringList traced;
void keepTrace(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    if (QByteArray(context.category) == "kdr.link")
        traced << message;
}
} // namespace

void TestPanelLink::wireTraceShowsEveryByte()
{
    Link link;
    QLoggingCategory::setFilterRules(QStringLiteral("kdr.link.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(keepTrace);
    QCOMPARE(link.protocol.Handshake(), LinkOutcome::Ok);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("kdr.link.debug=false"));
    // "<ms> ms <port> -> 41" and the acknowledgement coming back, each once.
    QCOMPARE(traced.size(), 2);
    const QRegularExpression sent(
        QStringLiteral("^\\d+\\.\\d{3} ms %1 -> 41$").arg(QRegularExpression::escape(link.panel.devicePath())));
    QVERIFY2(sent.match(traced[0]).hasMatch(), qPrintable(traced[0]));
    QVERIFY2(traced[1].endsWith(QStringLiteral("<- 44 30 30 30 44")), qPrintable(traced[1]));
}

QTEST_GUILESS_MAIN(TestPanelLink)
#include "tst_panel_link.moc"
