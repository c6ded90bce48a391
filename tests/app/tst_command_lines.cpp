// SPDX-License-Identifier: GPL-3.0-or-later
// The programs' command lines, run as a person would run them.
#include <QProcess>
#include <QTest>

class TestCommandLines : public QObject {
    Q_OBJECT
private slots:
    void windowProgramOptions_data();
    void windowProgramOptions();
};

void TestCommandLines::windowProgramOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("stdoutStart");
    QTest::addColumn<QString>("stderrStart");
    const QString usage = QStringLiteral("Usage: kdr-switch-panel [--port DEVICE] [FILE.kdc]");
    QTest::newRow("--help") << QStringList{QStringLiteral("--help")} << 0 << usage << QString();
    QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << 0
                               << QStringLiteral("kdr-switch-panel " KDR_VERSION) << QString();
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--colour")} << 2 << QString()
                                    << QStringLiteral("kdr-switch-panel: unknown option '--colour'\n") + usage;
    QTest::newRow("--port without a device") << QStringList{QStringLiteral("--port")} << 2 << QString()
                                             << QStringLiteral("kdr-switch-panel: --port needs a DEVICE\n") + usage;
    QTest::newRow("two files") << QStringList{QStringLiteral("a.kdc"), QStringLiteral("b.kdc")} << 2 << QString()
                               << QStringLiteral("kdr-switch-panel: only one file can be opened\n") + usage;
}

void TestCommandLines::windowProgramOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, stdoutStart);
    QFETCH(QString, stderrStart);
    QProcess program;
    // No display at all: these must answer before the window system is needed.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KDR_BIN_DIR "/kdr-switch-panel"), arguments);
    QVERIFY(program.waitForFinished(10000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), status);
    QVERIFY(QString::fromLocal8Bit(program.readAllStandardOutput()).startsWith(stdoutStart));
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(errors.startsWith(stderrStart), qPrintable(errors));
}

QTEST_GUILESS_MAIN(TestCommandLines)
#include "tst_command_lines.moc"
