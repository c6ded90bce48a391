// SPDX-License-Identifier: GPL-3.0-or-later
// kdr-panel end to end: the real program against simulated panels on pseudo-terminals.
#include "PtyPanel.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>

using namespace kdr::sim;

namespace {

const int kCodes[] = {13, 160, 159, 0, 25, 99, 150, 42, 7, 158};

QByteArray kdcLine(const QByteArray &panel, const QList<int> &codes)
{
    QByteArray line = "\"" + panel + "\"";
    for (int code : codes)
        line += ",\"\"," + QByteArray::number(code);
    return line + ",159\r\n";
}

struct Run {
    int status = -1;
    QByteArray out, err;
};

} // namespace

class TestKdrPanel : public QObject {
    Q_OBJECT
private slots:
    void readSavesTheWindowsFile();
    void writeProgramsSeveralPanelsAtOnce();
    void verifyFindsTheDifferences();
    void exitStatusesFromTheirCauses();
    void badFileSendsNothing();
    void resultsThatCannotBeWrittenFail();
    void signalsStopEveryPort();
    void sheetsAndFinding();

private:
    // Runs several kdr-panel commands side by side, to their ends.
    QList<Run> runAll(const QList<QStringList> &commands)
    {
        std::vector<std::unique_ptr<QProcess>> programs;
        for (const QStringList &arguments : commands) {
            programs.push_back(std::make_unique<QProcess>());
            programs.back()->start(QStringLiteral(KDR_BIN_DIR "/kdr-panel"), arguments);
        }
        QList<Run> runs;
        for (auto &program : programs) {
            if (program->state() != QProcess::NotRunning) {
                QSignalSpy ended(program.get(), &QProcess::finished);
                if (!ended.wait(15000))
                    program->kill();
            }
            runs.append({program->exitStatus() == QProcess::NormalExit ? program->exitCode() : -1,
                         program->readAllStandardOutput(), program->readAllStandardError()});
        }
        return runs;
    }
    // Runs kdr-panel to its end while the simulators answer here.
    Run run(const QStringList &arguments, const std::function<void(QProcess &)> &meanwhile = {})
    {
        QProcess program;
        program.start(QStringLiteral(KDR_BIN_DIR "/kdr-panel"), arguments);
        if (!program.waitForStarted())
            return {};
        if (meanwhile)
            meanwhile(program);
        QSignalSpy ended(&program, &QProcess::finished);
        if (!ended.wait(15000))
            program.kill();
        return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1, program.readAllStandardOutput(),
                program.readAllStandardError()};
    }
    std::unique_ptr<PtyPanel> panel(const QString &name, PanelFaults faults = {})
    {
        auto made = std::make_unique<PtyPanel>(std::move(faults), m_dir.filePath(name));
        for (int a = 0; a < 10; ++a)
            made->panel().setCode(a, kCodes[a]);
        return made;
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir m_dir;
};

void TestKdrPanel::readSavesTheWindowsFile()
{
    auto a = panel(QStringLiteral("a"));
    const Run r = run({QStringLiteral("read"), QStringLiteral("--port"), path(QStringLiteral("a")),
                       QStringLiteral("--output"), path(QStringLiteral("SMITH COACH 2024.kdc"))});
    QCOMPARE(r.status, 0);
    QVERIFY(r.out.startsWith("SW1   B  4  (13)\nSW2   N/A  (160)\nSW3   BL/MR  (159)\nSW4   A  1  (0)\n"));
    QVERIFY(r.out.endsWith("SW10  P  9  (158)\nSWITCH PANEL DATA READ SUCCESSFUL\n"));
    QFile saved(path(QStringLiteral("SMITH COACH 2024.kdc")));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    // As the window saves after a read: the name from the file's, cut to 12; designations empty.
    QCOMPARE(saved.readAll(), kdcLine("SMITH COACH ", {13, 160, 159, 0, 25, 99, 150, 42, 7, 158}));
}

void TestKdrPanel::writeProgramsSeveralPanelsAtOnce()
{
    writeFile(QStringLiteral("coach.kdc"), kdcLine("COACH", {1, 2, 3, 4, 5, 6, 7, 8, 159, 160}));
    auto a = panel(QStringLiteral("a")), b = panel(QStringLiteral("b"));
    const Run r = run({QStringLiteral("write"), path(QStringLiteral("coach.kdc")), QStringLiteral("--port"),
                       path(QStringLiteral("a")), QStringLiteral("--port"), path(QStringLiteral("b")),
                       QStringLiteral("--json"), QStringLiteral("--log"), path(QStringLiteral("write.jsonl"))});
    QCOMPARE(r.status, 0);
    // A line each in the record, and `kdr-panel log` shows them.
    const Run log = run({QStringLiteral("log"), path(QStringLiteral("write.jsonl")), QStringLiteral("--port"),
                         path(QStringLiteral("b"))});
    QCOMPARE(log.status, 0);
    QCOMPARE(log.out.count('\n'), 2);
    QVERIFY2(
        QRegularExpression(QStringLiteral(" write +COACH +SWITCH PANEL HAS BEEN PROGRAMMED +1\\.2 +\\S+coach.kdc\n"))
            .match(QString::fromUtf8(log.out))
            .hasMatch(),
        log.out);
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QJsonObject object = QJsonDocument::fromJson(lines[i]).object();
        QCOMPARE(object.value(QStringLiteral("port")).toString(), path(i ? QStringLiteral("b") : QStringLiteral("a")));
        QCOMPARE(object.value(QStringLiteral("ok")).toBool(), true);
        QCOMPARE(object.value(QStringLiteral("status")).toString(), QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED"));
        QVERIFY(object.value(QStringLiteral("seconds")).toDouble() > 1.0);
    }
    for (PtyPanel *p : {a.get(), b.get()})
        for (int address = 0; address < 11; ++address)
            QCOMPARE(p->panel().code(address), QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 159, 160, 159})[address]);
    // Side by side: both were programmed within the same second and a half.
    QVERIFY(qAbs(a->received().last().atMs - b->received().last().atMs) < 500);
}

void TestKdrPanel::verifyFindsTheDifferences()
{
    writeFile(QStringLiteral("same.kdc"), kdcLine("COACH", {13, 160, 159, 0, 25, 99, 150, 42, 7, 158}));
    writeFile(QStringLiteral("other.kdc"), kdcLine("COACH", {13, 160, 159, 0, 26, 99, 150, 42, 7, 160}));
    auto a = panel(QStringLiteral("a")), b = panel(QStringLiteral("b")), c = panel(QStringLiteral("c"));
    const QList<Run> runs = runAll({
        {QStringLiteral("verify"), path(QStringLiteral("same.kdc")), QStringLiteral("--port"),
         path(QStringLiteral("a"))},
        {QStringLiteral("verify"), path(QStringLiteral("other.kdc")), QStringLiteral("--port"),
         path(QStringLiteral("b")), QStringLiteral("--json")},
        {QStringLiteral("verify"), path(QStringLiteral("other.kdc")), QStringLiteral("--port"),
         path(QStringLiteral("c"))},
    });
    QCOMPARE(runs[0].status, 0);
    QVERIFY(runs[0].out.endsWith("THE SWITCH PANEL MATCHES THE FILE\n"));

    QCOMPARE(runs[1].status, 1);
    const QJsonObject object = QJsonDocument::fromJson(runs[1].out).object();
    QCOMPARE(object.value(QStringLiteral("differences")).toArray(), QJsonArray({5, 10}));
    QCOMPARE(object.value(QStringLiteral("codes")).toArray().at(4).toInt(), 25);
    QCOMPARE(object.value(QStringLiteral("ok")).toBool(), false);
    QCOMPARE(object.value(QStringLiteral("status")).toString(),
             QStringLiteral("THE SWITCH PANEL DIFFERS FROM THE FILE AT 2 SWITCHES"));
    QVERIFY(
        runs[2].out.startsWith("SW5   panel C  6  (25)  file C  7  (26)\nSW10  panel P  9  (158)  file N/A  (160)\n"));
}

void TestKdrPanel::exitStatusesFromTheirCauses()
{
    // Several ports, each failing its own way; each reported, the highest status wins.
    PanelFaults silent, junk, pulled;
    silent.silent = true;
    junk.readReplyAt.insert(3, "XYZZY");
    pulled.hangUpAfterCommands = 6; // the greeting and SW1 to SW5's reads
    auto good = panel(QStringLiteral("good")), mute = panel(QStringLiteral("mute"), silent),
         noisy = panel(QStringLiteral("noisy"), junk), unplugged = panel(QStringLiteral("unplugged"), pulled);
    struct Case {
        QString port;
        int status;
        QByteArray message;
    };
    const Case cases[] = {
        {path(QStringLiteral("good")), 0, {}},
        {path(QStringLiteral("missing")), 3, ": could not open: no such port"},
        {path(QStringLiteral("mute")), 4, ": the panel did not answer"},
        {path(QStringLiteral("noisy")), 5, ": bad switch panel data at SW4"},
        {path(QStringLiteral("unplugged")), 5, ": the connection was lost at SW5"},
    };
    QList<QStringList> alone;
    QStringList all{QStringLiteral("read"), QStringLiteral("--json")};
    for (const Case &c : cases) {
        alone << QStringList{QStringLiteral("read"), QStringLiteral("--port"), c.port};
        all << QStringLiteral("--port") << c.port;
    }
    const QList<Run> runs = runAll(alone);
    for (int i = 0; i < 5; ++i) {
        QVERIFY2(runs[i].status == cases[i].status, qPrintable(cases[i].port));
        QCOMPARE(runs[i].err, cases[i].message.isEmpty()
                                  ? QByteArray()
                                  : "kdr-panel: " + cases[i].port.toLocal8Bit() + cases[i].message + "\n");
    }
    QVERIFY(unplugged->plugIn());
    const Run together = run(all);
    QCOMPARE(together.status, 5);
    const QList<QByteArray> lines = together.out.trimmed().split('\n');
    QCOMPARE(lines.size(), 5);
    QCOMPARE(QJsonDocument::fromJson(lines[0]).object().value(QStringLiteral("ok")).toBool(), true);
    QCOMPARE(QJsonDocument::fromJson(lines[3]).object().value(QStringLiteral("codes")).toArray().at(3), QJsonValue());
    QCOMPARE(QJsonDocument::fromJson(lines[4]).object().value(QStringLiteral("failedSwitch")).toInt(), 5);
    QCOMPARE(together.err.count('\n'), 4);

    const Run usage = run({QStringLiteral("read"), QStringLiteral("--output")});
    QCOMPARE(usage.status, 2);
    QCOMPARE(usage.err, "kdr-panel: --output needs a FILE\nTry 'kdr-panel --help'.\n");

    // The panel inside the program answers like a good one, and replaces the ports.
    const Run simulated = run({QStringLiteral("read"), QStringLiteral("--simulated-panel")});
    QVERIFY2(simulated.status == 0, simulated.out + simulated.err);
    QVERIFY(simulated.out.startsWith("SW1   A  1  (0)\nSW2   B  4  (13)\n"));
    const Run both = run({QStringLiteral("read"), QStringLiteral("--simulated-panel"), QStringLiteral("--port"),
                          path(QStringLiteral("good"))});
    QCOMPARE(both.status, 2);
    QVERIFY(both.err.startsWith("kdr-panel: --simulated-panel takes the place of --port\n"));
}

void TestKdrPanel::badFileSendsNothing()
{
    auto a = panel(QStringLiteral("a"));
    writeFile(QStringLiteral("short.kdc"), "\"COACH\",\"\",1,\"\",2\r\n");
    writeFile(QStringLiteral("negative.kdc"), kdcLine("COACH", {1, 2, 3, 4, -5, 6, 7, 8, 9, 10}));
    const Run shortFile = run({QStringLiteral("write"), path(QStringLiteral("short.kdc")), QStringLiteral("--port"),
                               path(QStringLiteral("a"))});
    QCOMPARE(shortFile.status, 2);
    QCOMPARE(shortFile.err, "kdr-panel: " + path(QStringLiteral("short.kdc")).toLocal8Bit() +
                                ": could not read: not a configuration file: line has 5 fields, expected 22\n");
    const Run incomplete = run({QStringLiteral("write"), path(QStringLiteral("negative.kdc")), QStringLiteral("--port"),
                                path(QStringLiteral("a"))});
    QCOMPARE(incomplete.status, 2);
    QVERIFY(incomplete.err.endsWith(": could not read: not a configuration file: field 11 (SW5's code) is -5, "
                                    "outside 0 to 160\n"));
    QVERIFY(a->received().isEmpty());
}

void TestKdrPanel::resultsThatCannotBeWrittenFail()
{
    auto a = panel(QStringLiteral("a"));
    const QString port = path(QStringLiteral("a"));
    // Where the reading cannot be saved is found before a byte is sent.
    QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo.kdc"))).constData(), 0600) == 0);
    // A read-only file (refused to whoever is not root), a name that gives no panel
    // name, a link into a folder that is gone.
    writeFile(QStringLiteral("read-only.kdc"), "old");
    QVERIFY(QFile::setPermissions(path(QStringLiteral("read-only.kdc")), QFile::ReadOwner | QFile::ReadOther));
    QVERIFY(QFile::link(path(QStringLiteral("gone/coach.kdc")), path(QStringLiteral("dangling.kdc"))));
    QVERIFY(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                    QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
    const QStringList asSomeone = ::geteuid() == 0
                                      ? QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                                                    QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")}
                                      : QStringList{};
    for (const auto &[output, why] : {std::pair{path(QStringLiteral("fifo.kdc")), "it is not a regular file"},
                                      std::pair{path(QStringLiteral("missing/coach.kdc")), "does not exist"},
                                      std::pair{path(QStringLiteral("read-only.kdc")), "the file is read-only"},
                                      std::pair{path(QStringLiteral(".kdc")), "gives no panel name (use --name)"},
                                      std::pair{path(QStringLiteral("dangling.kdc")), "does not exist"}}) {
        QProcess program;
        const QStringList line = asSomeone + QStringList{QStringLiteral(KDR_BIN_DIR "/kdr-panel"),
                                                         QStringLiteral("read"),
                                                         QStringLiteral("--port"),
                                                         port,
                                                         QStringLiteral("--output"),
                                                         output};
        program.start(line.first(), line.mid(1));
        QVERIFY(program.waitForFinished(10000));
        const QByteArray err = program.readAllStandardError();
        QCOMPARE(program.exitCode(), 2);
        QVERIFY2(err.startsWith("kdr-panel: " + output.toLocal8Bit() + ": cannot save there: ") && err.contains(why),
                 err.constData());
    }
    QVERIFY(a->received().isEmpty());
    QVERIFY(QFileInfo(path(QStringLiteral("fifo.kdc"))).isFile() == false);

    // Usage: one --output, one session per device however it is named.
    QVERIFY(QFile::link(port, path(QStringLiteral("again"))));
    QCOMPARE(run({QStringLiteral("read"), QStringLiteral("--output"), QStringLiteral("x.kdc"),
                  QStringLiteral("--output"), QStringLiteral("y.kdc"), QStringLiteral("--port"), port})
                 .status,
             2);
    const Run same = run({QStringLiteral("read"), QStringLiteral("--port"), port, QStringLiteral("--port"),
                          path(QStringLiteral("again"))});
    QCOMPARE(same.status, 2);
    QVERIFY(same.err.contains("is the same port as"));

    // Standard output that takes nothing is a failure, not a success nobody sees.
    writeFile(QStringLiteral("evil.kdc"), kdcLine("\x1b]0;X\x07\rSW1", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(KDR_BIN_DIR "/kdr-panel"), {QStringLiteral("show"), path(QStringLiteral("evil.kdc"))});
    QVERIFY(full.waitForFinished(10000));
    QCOMPARE(full.exitCode(), 6);
    QVERIFY(full.readAllStandardError().startsWith("kdr-panel: standard output: could not write: "));

    // What a file holds reaches the terminal escaped.
    const Run shown = run({QStringLiteral("show"), path(QStringLiteral("evil.kdc"))});
    QCOMPARE(shown.status, 0);
    QVERIFY2(shown.out.startsWith("PANEL NAME  \\x1b]0;X\\x07\\x0dSW1\nSW1   \"\"  A  2  (1)\n"), shown.out);
    // So does the port named in a status line and a file's name in a load error.
    const Run badPort = run({QStringLiteral("read"), QStringLiteral("--port"), path(QStringLiteral("x\x1b[2J"))});
    QCOMPARE(badPort.status, 3);
    QVERIFY2(badPort.out.contains("/x\\x1b[2J COULD NOT BE OPENED") && !badPort.out.contains('\x1b'), badPort.out);
    QVERIFY(!badPort.err.contains('\x1b'));
    QVERIFY(!run({QStringLiteral("show"), path(QStringLiteral("\x1b]0;X\x07.kdc"))}).err.contains('\x1b'));
    // A name longer than the window takes is said to be cut.
    writeFile(QStringLiteral("long.kdc"), kdcLine("THIRTEENCHARS", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    QVERIFY(run({QStringLiteral("show"), path(QStringLiteral("long.kdc"))})
                .out.startsWith("PANEL NAME  THIRTEENCHARS\nTHE PANEL NAME IS LONGER THAN 12 CHARACTERS: IT OPENS AS "
                                "\"THIRTEENCHAR\"\n"));
}

void TestKdrPanel::signalsStopEveryPort()
{
    writeFile(QStringLiteral("coach.kdc"), kdcLine("COACH", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    // Ctrl+C, and a hang-up as a dropped SSH session sends it.
    for (const auto &[number, status] : {std::pair{SIGINT, 130}, std::pair{SIGHUP, 129}}) {
        auto a = panel(QStringLiteral("a")), b = panel(QStringLiteral("b"));
        qint64 signalledAt = -1;
        const Run r =
            run({QStringLiteral("write"), path(QStringLiteral("coach.kdc")), QStringLiteral("--port"),
                 path(QStringLiteral("a")), QStringLiteral("--port"), path(QStringLiteral("b"))},
                [&, signal = number](QProcess &program) {
                    // Half-way through the writes, in a pause between two steps.
                    connect(a.get(), &PtyPanel::replied, &program, [&, signal](const QByteArray &reply) {
                        if (signalledAt < 0 && a->countOf("A") == 1 && a->commands().size() == 9 && reply != "D000D") {
                            signalledAt = a->elapsedMs();
                            ::kill(pid_t(program.processId()), signal);
                        }
                    });
                });
        QVERIFY(signalledAt >= 0);
        QCOMPARE(r.status, status);
        // Nothing went out after the signal, on either port.
        QSignalSpy late(a.get(), &PtyPanel::commandReceived);
        QVERIFY(!late.wait(200));
        for (PtyPanel *p : {a.get(), b.get()})
            QVERIFY2(p->received().last().atMs <= signalledAt + 20,
                     qPrintable(QString::number(p->received().last().atMs - signalledAt)));
        QVERIFY(a->commands().size() < 23 && b->commands().size() < 23);
        QVERIFY(r.err.contains(": stopped\n"));
        QVERIFY2(r.out.contains("STOPPED\n") && !r.out.contains("FAILURE"), r.out);
    }
}

void TestKdrPanel::sheetsAndFinding()
{
    // The sheet of a file: every designation and assignment in its text, the panel's
    // face drawn on a page of the country's paper, a small file.
    writeFile(QStringLiteral("sample.kdc"),
              "\"COACH\",\"PORCH LIGHT\",13,\"AWNING\",160,\"PUMP\",159,\"STEP\",0,\"\",25,"
              "\"HEATER\",99,\"\",150,\"FAN\",42,\"TV\",7,\"\",158,159\r\n");
    for (const auto &[locale, paper] : {std::pair{"en_US.UTF-8", "612 x 792"}, std::pair{"de_DE.UTF-8", "595 x 842"}}) {
        QProcess sheet;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QLatin1String(locale));
        sheet.setProcessEnvironment(environment);
        sheet.start(QStringLiteral(KDR_BIN_DIR "/kdr-panel"),
                    {QStringLiteral("sheet"), path(QStringLiteral("sample.kdc")), QStringLiteral("--output"),
                     path(QStringLiteral("s.pdf"))});
        QVERIFY(sheet.waitForFinished(10000));
        QCOMPARE(sheet.exitCode(), 0);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {path(QStringLiteral("s.pdf"))});
        QVERIFY(info.waitForFinished(10000));
        QVERIFY2(info.readAllStandardOutput().contains(paper), locale);
    }
    QVERIFY(QFileInfo(path(QStringLiteral("s.pdf"))).size() < 300 * 1024);
    const auto wordsOf = [](const QString &pdf) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        text.waitForFinished(10000);
        return QString::fromUtf8(text.readAllStandardOutput()).simplified();
    };
    const QString words = wordsOf(path(QStringLiteral("s.pdf")));
    for (const char *expected :
         {"PANEL NAME COACH", "FILE sample.kdc", "PORCH LIGHT", "SW1 B 4 13 PORCH LIGHT", "SW2 N/A 160 AWNING",
          "SW3 BL/MR 159 PUMP", "SW6 J 10 99 HEATER", "SW10 P 9 158", "TECHNICIAN", "DATE"})
        QVERIFY2(words.contains(QLatin1String(expected)), expected);
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                                              path(QStringLiteral("s.pdf")), path(QStringLiteral("page"))});
    QVERIFY(render.waitForFinished(10000));
    const QImage page(path(QStringLiteral("page-1.png")));
    QVERIFY(!page.isNull());
    int face = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            face += qAbs(qRed(page.pixel(x, y)) - 96) < 6 && qAbs(qGreen(page.pixel(x, y)) - 94) < 6;
    QVERIFY2(face > page.width() * page.height() / 8, qPrintable(QString::number(face))); // the face's grey

    // A reading's sheet is the sheet of the file the reading saved, under its name.
    const auto reading = panel(QStringLiteral("reading"), {});
    QCOMPARE(run({QStringLiteral("read"), QStringLiteral("--port"), reading->devicePath(), QStringLiteral("--output"),
                  path(QStringLiteral("porch.kdc")), QStringLiteral("--sheet"), path(QStringLiteral("read.pdf"))})
                 .status,
             0);
    QCOMPARE(run({QStringLiteral("sheet"), path(QStringLiteral("porch.kdc")), QStringLiteral("--output"),
                  path(QStringLiteral("saved.pdf"))})
                 .status,
             0);
    const QRegularExpression made(QStringLiteral("MADE \\S+ \\S+"));
    QVERIFY(wordsOf(path(QStringLiteral("read.pdf"))).contains(QStringLiteral("PANEL NAME porch")));
    QCOMPARE(wordsOf(path(QStringLiteral("read.pdf"))).remove(made),
             wordsOf(path(QStringLiteral("saved.pdf"))).remove(made));

    // Finding the panel: eight ports greeted at once, one answers; the others hear
    // nothing but handshakes.
    std::vector<std::unique_ptr<PtyPanel>> ports;
    PanelFaults silent;
    silent.silent = true;
    QStringList arguments{QStringLiteral("find")};
    for (int i = 0; i < 8; ++i) {
        ports.push_back(panel(QStringLiteral("find%1").arg(i), i == 5 ? PanelFaults{} : silent));
        arguments << QStringLiteral("--port") << path(QStringLiteral("find%1").arg(i));
    }
    QElapsedTimer clock;
    clock.start();
    const Run found = run(arguments);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(found.status, 0);
    QVERIFY(found.out.endsWith("SWITCH PANEL FOUND ON " + path(QStringLiteral("find5")).toUtf8() + "\n"));
    for (int i = 0; i < 8; ++i) {
        const QList<QByteArray> heard = ports[size_t(i)]->commands();
        QVERIFY(std::all_of(heard.begin(), heard.end(), [](const QByteArray &c) { return c == "A"; }));
        QCOMPARE(heard.size(), i == 5 ? 1 : 6);
    }
    ports[5]->hangUp();
    const Run none = run(arguments);
    QCOMPARE(none.status, 4);
    QVERIFY2(none.out.endsWith("NO SWITCH PANEL ANSWERED ON 8 PORTS\n"), none.out);
}

QTEST_GUILESS_MAIN(TestKdrPanel)
#include "tst_kdr_panel.moc"
