// SPDX-License-Identifier: GPL-3.0-or-later
// The programs' command lines, run as a person would run them.
#include <QProcess>
#include <QTest>

#include <tuple>

class TestCommandLines : public QObject {
    Q_OBJECT
private slots:
    void windowProgramOptions_data();
    void windowProgramOptions();
    void argumentsThatAreNoTextAreRefused();
    void whatATerminalIsShown();
};

namespace {

// No display at all: what is tested here must answer before the window system is needed.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

} // namespace

void TestCommandLines::windowProgramOptions_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stdoutStart");
    QTest::addColumn<QString>("stderrStart");
    const QString usage = QStringLiteral("Usage: kdr-switch-panel [--port DEVICE] [FILE.kdc]");
    const QString kWindow = QStringLiteral("kdr-switch-panel");
    // A mistake is one line, and where help is; not the whole usage.
    const QString tryHelp = QStringLiteral("Try 'kdr-switch-panel --help'.\n");
    QTest::newRow("--help") << kWindow << QStringList{QStringLiteral("--help")} << 0 << usage << QString();
    QTest::newRow("--version") << kWindow << QStringList{QStringLiteral("--version")} << 0
                               << QStringLiteral("kdr-switch-panel " KDR_VERSION) << QString();
    QTest::newRow("unknown option") << kWindow << QStringList{QStringLiteral("--colour")} << 2 << QString()
                                    << QStringLiteral("kdr-switch-panel: unknown option '--colour'\n") + tryHelp;
    QTest::newRow("--port without a device") << kWindow << QStringList{QStringLiteral("--port")} << 2 << QString()
                                             << QStringLiteral("kdr-switch-panel: --port needs a DEVICE\n") + tryHelp;
    QTest::newRow("two files") << kWindow << QStringList{QStringLiteral("a.kdc"), QStringLiteral("b.kdc")} << 2
                               << QString()
                               << QStringLiteral("kdr-switch-panel: only one file can be opened\n") + tryHelp;
    // The simulated window answers the same two, and takes nothing else.
    const QString simulated = QStringLiteral("kdr-switch-panel-simulated");
    QTest::newRow("simulated --help") << simulated << QStringList{QStringLiteral("--help")} << 0
                                      << QStringLiteral("Usage: kdr-switch-panel-simulated") << QString();
    QTest::newRow("simulated --version") << simulated << QStringList{QStringLiteral("--version")} << 0
                                         << QStringLiteral("kdr-switch-panel-simulated " KDR_VERSION) << QString();
    QTest::newRow("simulated file") << simulated << QStringList{QStringLiteral("a.kdc")} << 2 << QString()
                                    << QStringLiteral("kdr-switch-panel-simulated: unknown argument 'a.kdc'\n"
                                                      "Try 'kdr-switch-panel-simulated --help'.\n");
}

void TestCommandLines::windowProgramOptions()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, stdoutStart);
    QFETCH(QString, stderrStart);
    QProcess running;
    running.setProcessEnvironment(withoutDisplay());
    running.start(QStringLiteral(KDR_BIN_DIR "/") + program, arguments);
    QVERIFY(running.waitForFinished(10000));
    QCOMPARE(running.exitStatus(), QProcess::NormalExit);
    QCOMPARE(running.exitCode(), status);
    QVERIFY(QString::fromLocal8Bit(running.readAllStandardOutput()).startsWith(stdoutStart));
    const QString errors = QString::fromLocal8Bit(running.readAllStandardError());
    QVERIFY2(stderrStart.isEmpty() ? errors.isEmpty() : errors == stderrStart, qPrintable(errors));
}

void TestCommandLines::argumentsThatAreNoTextAreRefused()
{
    // A file name with a byte that is no text in UTF-8: converted, it would name another
    // file, so it is refused before anything is opened or saved.
    for (const auto &[program, arguments, position] :
         {std::tuple{"kdr-switch-panel", "", 1}, std::tuple{"kdr-panel", "show ", 2}}) {
        QProcess running;
        running.setProcessEnvironment(withoutDisplay());
        running.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"),
                       QStringLiteral("exec \"$0\" %1\"$(printf 'coach\\377.kdc')\"").arg(QLatin1String(arguments)),
                       QStringLiteral(KDR_BIN_DIR "/") + QLatin1String(program)});
        QVERIFY(running.waitForFinished(10000));
        QCOMPARE(running.exitCode(), 2);
        QCOMPARE(QString::fromLocal8Bit(running.readAllStandardError()),
                 QStringLiteral("%1: argument %2 is not valid text in this system's encoding\nTry '%1 --help'.\n")
                     .arg(QLatin1String(program))
                     .arg(position));
    }
}

void TestCommandLines::whatATerminalIsShown()
{
    const auto run = [](const char *program, const QStringList &arguments, const QString &output = {}) {
        QProcess running;
        running.setProcessEnvironment(withoutDisplay());
        if (!output.isEmpty())
            running.setStandardOutputFile(output);
        running.start(QStringLiteral(KDR_BIN_DIR "/") + QLatin1String(program), arguments);
        running.waitForFinished(10000);
        return std::tuple{running.exitCode(), running.readAllStandardOutput(), running.readAllStandardError()};
    };
    for (const char *program : {"kdr-panel", "kdr-switch-panel", "kdr-switch-panel-simulated"}) {
        // The usage fits a console of 80 columns.
        const auto [status, usage, none] = run(program, {QStringLiteral("--help")});
        QCOMPARE(status, 0);
        for (const QByteArray &line : usage.split('\n'))
            QVERIFY2(line.size() <= 79, line.constData());
        // Help and version that reach nobody are no success.
        for (const QString &option : {QStringLiteral("--help"), QStringLiteral("--version")}) {
            const auto [full, out, err] = run(program, {option}, QStringLiteral("/dev/full"));
            QCOMPARE(full, 6);
            QVERIFY2(err.contains(": standard output: could not write: "), err.constData());
        }
    }
    // What was given comes back escaped: no escape sequence, no reordered text.
    const auto [status, out, err] = run("kdr-panel", {QStringLiteral("re\x1b]0;X\x07\u202eda")});
    QCOMPARE(status, 2);
    QCOMPARE(err, "kdr-panel: unknown command 're\\x1b]0;X\\x07\\u202eda'\nTry 'kdr-panel --help'.\n");
}

QTEST_GUILESS_MAIN(TestCommandLines)
#include "tst_command_lines.moc"
