// SPDX-License-Identifier: GPL-3.0-or-later
// kdr-panel station end to end: the real program against simulated panels on
// pseudo-terminals, which are plugged in and out as on a production line.
#include "PtyPanel.h"

#include "record/RecordFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <memory>

using namespace kdr;
using namespace kdr::sim;
using namespace std::chrono_literals;

namespace {

const QByteArray kFile =
    "\"COACH\",\"PORCH\",1,\"\",2,\"\",3,\"\",4,\"\",5,\"\",6,\"\",7,\"\",8,\"\",159,\"\",160,159\r\n";
const std::array<std::optional<Code>, kSwitchCount> kCodes{1, 2, 3, 4, 5, 6, 7, 8, 159, 160};

// Panels in for 2.5 s (a greeting a second, then 1.2 s of writing), out for 2.5 s
// (two unanswered greetings).
PanelFaults onALine(int panels)
{
    PanelFaults faults;
    faults.plugs = {2500ms, 2500ms, panels};
    return faults;
}

int writesOfAddress(const AnsweringPanel &panel, int address)
{
    int writes = 0;
    for (const QByteArray &command : panel.commands())
        writes += command.size() == 6 && command[0] == 'S' && command[2] == char(address);
    return writes;
}

} // namespace

class TestStation : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void programsPanelAfterPanelAtEveryPort();
    void killedAtAnyMomentLosesNoLine();
    void aRecordThatCannotBeWrittenStopsIt();
    void anAdapterPluggedBackInIsTakenUp();

private:
    std::unique_ptr<QProcess> station(const QStringList &arguments)
    {
        auto program = std::make_unique<QProcess>();
        program->start(QStringLiteral(KDR_BIN_DIR "/kdr-panel"),
                       QStringList{QStringLiteral("station"), m_dir.filePath(QStringLiteral("coach.kdc"))} + arguments);
        return program;
    }
    QStringList portsOf(const std::vector<std::unique_ptr<PtyPanel>> &panels) const
    {
        QStringList arguments;
        for (const auto &panel : panels)
            arguments << QStringLiteral("--port") << panel->devicePath();
        return arguments;
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestStation::initTestCase()
{
    QFile file(path(QStringLiteral("coach.kdc")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(kFile) == kFile.size());
}

void TestStation::programsPanelAfterPanelAtEveryPort()
{
    // Four ports, five panels each in turn; beside them a port whose panels fail their
    // verification (SW4 reads back 99), two panels plugged in one after the other.
    std::vector<std::unique_ptr<PtyPanel>> line, failing;
    for (int i = 0; i < 4; ++i)
        line.push_back(std::make_unique<PtyPanel>(onALine(5), path(QStringLiteral("line%1").arg(i))));
    PanelFaults wrong = onALine(2);
    wrong.plugs.in = wrong.plugs.out = 3500ms;
    wrong.readReplyAt.insert(3, "00990");
    failing.push_back(std::make_unique<PtyPanel>(wrong, path(QStringLiteral("failing"))));
    const auto a = station(portsOf(line) + QStringList{QStringLiteral("--count"), QStringLiteral("5"),
                                                       QStringLiteral("--log"), path(QStringLiteral("line.jsonl"))});
    const auto b = station(portsOf(failing) + QStringList{QStringLiteral("--json"), QStringLiteral("--log"),
                                                          path(QStringLiteral("failing.jsonl"))});
    QSignalSpy aEnded(a.get(), &QProcess::finished);
    QVERIFY(aEnded.wait(40000));
    ::kill(pid_t(b->processId()), SIGTERM);
    QVERIFY(b->waitForFinished(5000));

    QCOMPARE(a->exitCode(), 0);
    const QByteArray shown = a->readAllStandardOutput();
    QVERIFY2(shown.contains(" #5  SWITCH PANEL HAS BEEN PROGRAMMED  1.2 s \xe2\x80\x94 disconnect it\n"), shown);
    QVERIFY2(shown.contains("\nALL PORTS ") && shown.endsWith(" 20 programmed, 0 failed\n"), shown);
    const RecordContents record = readRecord(path(QStringLiteral("line.jsonl")));
    QCOMPARE(record.entries.size(), 20);
    const QString sha = QString::fromLatin1(QCryptographicHash::hash(kFile, QCryptographicHash::Sha256).toHex());
    for (const RecordEntry &entry : record.entries) {
        QCOMPARE(entry.command, QStringLiteral("station"));
        QCOMPARE(entry.fileSha256, sha);
        QCOMPARE(entry.codesSent, kCodes);
        QCOMPARE(entry.codesReadBack, kCodes);
        QCOMPARE(entry.panelName, QStringLiteral("COACH"));
        QVERIFY(entry.succeeded() && !entry.user.isEmpty() && entry.time.isValid());
    }
    // Each panel programmed once: eleven writes a panel, none while the cable was empty.
    for (const auto &panel : line) {
        QCOMPARE(panel->panelsPlugged(), 5);
        QCOMPARE(writesOfAddress(*panel, 0), 5);
        QCOMPARE(panel->panel().code(3), 4);
    }

    // The failing panels: one line each, never tried again while plugged in.
    QCOMPARE(b->exitCode(), 128 + SIGTERM);
    const QList<QByteArray> lines = b->readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(lines.size(), 3); // two panels and the summary
    for (int i = 0; i < 2; ++i) {
        const QJsonObject panel = QJsonDocument::fromJson(lines[i]).object();
        QCOMPARE(panel.value(QStringLiteral("ok")).toBool(), false);
        QCOMPARE(panel.value(QStringLiteral("panel")).toInt(), i + 1);
        QCOMPARE(panel.value(QStringLiteral("failedSwitch")).toInt(), 4);
    }
    QCOMPARE(QJsonDocument::fromJson(lines[2]).object().value(QStringLiteral("failed")).toInt(), 2);
    QCOMPARE(writesOfAddress(*failing.front(), 0), 2);
    const RecordContents failures = readRecord(path(QStringLiteral("failing.jsonl")));
    QCOMPARE(failures.entries.size(), 2);
    QCOMPARE(failures.entries[0].exitStatus, 5);
}

void TestStation::killedAtAnyMomentLosesNoLine()
{
    // Twenty kills at random moments, four stations at a time; each record may end in
    // a torn line, no other, and holds every panel its station said it programmed.
    for (int round = 0; round < 5; ++round) {
        std::vector<std::unique_ptr<PtyPanel>> panels;
        std::vector<std::unique_ptr<QProcess>> stations;
        for (int i = 0; i < 4; ++i) {
            const QString name = QStringLiteral("kill%1-%2").arg(round).arg(i);
            panels.push_back(std::make_unique<PtyPanel>(onALine(3), path(name)));
            stations.push_back(station({QStringLiteral("--port"), panels.back()->devicePath(), QStringLiteral("--log"),
                                        path(name + QStringLiteral(".jsonl"))}));
            const int after = QRandomGenerator::global()->bounded(300, 5500);
            QTimer::singleShot(after, stations.back().get(),
                               [s = stations.back().get()] { ::kill(pid_t(s->processId()), SIGKILL); });
        }
        // The panels answer from this thread's events: wait through them.
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(stations.begin(), stations.end(),
                                             [](const auto &s) { return s->state() == QProcess::NotRunning; }),
                                 10000);
        for (int i = 0; i < 4; ++i) {
            const QString name = QStringLiteral("kill%1-%2").arg(round).arg(i);
            const RecordContents record = readRecord(path(name + QStringLiteral(".jsonl")));
            QVERIFY2(record.problem.isEmpty(), qPrintable(record.problem));
            const int said = int(stations[i]->readAllStandardOutput().count("HAS BEEN PROGRAMMED"));
            QVERIFY2(record.entries.size() >= said, qPrintable(name));
        }
    }
}

void TestStation::aRecordThatCannotBeWrittenStopsIt()
{
    // No record there at all: nothing is sent.
    PtyPanel alone(onALine(3), path(QStringLiteral("alone")));
    const auto refused = station({QStringLiteral("--port"), alone.devicePath(), QStringLiteral("--log"),
                                  path(QStringLiteral("missing/line.jsonl"))});
    QVERIFY(refused->waitForFinished(10000));
    QCOMPARE(refused->exitCode(), 6);
    QVERIFY(refused->readAllStandardError().contains("cannot keep the record there"));
    QVERIFY(alone.received().isEmpty());

    // Its folder gone after the first panel: the station stops before the second.
    QVERIFY(QDir(path(QStringLiteral("records"))).mkpath(QStringLiteral(".")));
    const auto running = station({QStringLiteral("--port"), alone.devicePath(), QStringLiteral("--log"),
                                  path(QStringLiteral("records/line.jsonl"))});
    QByteArray shown;
    QTRY_VERIFY_WITH_TIMEOUT((shown += running->readAllStandardOutput()).contains("#1  SWITCH PANEL HAS BEEN"), 8000);
    QVERIFY(QDir(path(QStringLiteral("records"))).removeRecursively());
    QTRY_COMPARE_WITH_TIMEOUT(running->state(), QProcess::NotRunning, 15000);
    QCOMPARE(running->exitCode(), 6);
    QVERIFY2(running->readAllStandardError().contains(
                 "records/line.jsonl: cannot keep the record there: the file or its folder does not exist"),
             "the reason is said");
    QCOMPARE(writesOfAddress(alone, 0), 1);
    QVERIFY(alone.panelsPlugged() >= 2); // a second panel came, and was not programmed
}

void TestStation::anAdapterPluggedBackInIsTakenUp()
{
    // The adapter goes with the panel on it, and comes back under its name with a new one.
    PtyPanel adapter({}, path(QStringLiteral("adapter")));
    const auto running = station({QStringLiteral("--port"), adapter.devicePath(), QStringLiteral("--count"),
                                  QStringLiteral("2"), QStringLiteral("--json")});
    QByteArray shown;
    QTRY_VERIFY_WITH_TIMEOUT((shown += running->readAllStandardOutput()).contains("\"panel\":1"), 8000);
    adapter.hangUp();
    QTest::qWait(2500); // the station tries its name in vain meanwhile
    adapter.panel().storeFactoryConfiguration();
    QVERIFY(adapter.plugIn());
    QTRY_COMPARE_WITH_TIMEOUT(running->state(), QProcess::NotRunning, 8000);
    QCOMPARE(running->exitCode(), 0);
    QVERIFY((shown + running->readAllStandardOutput()).contains("\"panel\":2"));
    QCOMPARE(adapter.panel().code(3), 4);
}

QTEST_GUILESS_MAIN(TestStation)
#include "tst_station.moc"
