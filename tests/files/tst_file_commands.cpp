// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ConfigurationFile.h"
#include "files/FileCommands.h"
#include "files/FileDialogs.h"
#include "ui/MainWindow.h"
#include "ui/SelectionList.h"
#include "ui/StatusTextBox.h"

#include "IsolatedSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <QElapsedTimer>
#include <QStandardPaths>

#include <functional>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kdr;

namespace {

// Answers the dialogs as a person would have, and remembers what they were asked.
struct ScriptedDialogs : FileDialogs {
    std::optional<QString> answer;
    QStringList messages;
    int dialogs = 0;
    QString lastTitle, lastFilter, lastPreset;

    std::optional<QString> ask(const QString &title, const QString &filter, const QString &preset)
    {
        ++dialogs;
        lastTitle = title;
        lastFilter = filter;
        lastPreset = preset;
        return answer;
    }
    std::optional<QString> saveFileName(const QString &t, const QString &f, const QString &p) override
    {
        return ask(t, f, p);
    }
    std::optional<QString> openFileName(const QString &t, const QString &f, const QString &p) override
    {
        return ask(t, f, p);
    }
    void showMessage(const QString &text) override { messages << text; }
    CloseAnswer closeAnswer = CloseAnswer::Cancel;
    int closeQuestions = 0;
    CloseAnswer askSaveChanges(LosingEdits) override { return ++closeQuestions, closeAnswer; }
};

const QByteArray kCoachAllNotAssigned =
    "\"COACH\",\"DESIGNATION \",160,\"DESIGNATION \",160,\"DESIGNATION \",160,\"DESIGNATION \",160,"
    "\"DESIGNATION \",160,\"DESIGNATION \",160,\"DESIGNATION \",160,\"DESIGNATION \",160,"
    "\"DESIGNATION \",160,\"DESIGNATION \",160,159\r\n";

QByteArray kdcLine(const QByteArray &panel, const QList<int> &codes, const QByteArray &designation = "D")
{
    QByteArray line = "\"" + panel + "\"";
    for (int code : codes)
        line += ",\"" + designation + "\"," + QByteArray::number(code);
    return line + ",159\r\n";
}

// Runs `work` as an ordinary user: as root in a child process that gives up root
// first (so that permissions apply), otherwise right here. True when `work` was.
constexpr uid_t kNobody = 65534;
bool asOrdinaryUser(const std::function<bool()> &work)
{
    if (geteuid() != 0)
        return work();
    const pid_t child = fork();
    if (child == 0)
        _exit(setgid(kNobody) == 0 && setuid(kNobody) == 0 && work() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void refusalsInTheirOrder();
    void savesTheExampleLine();
    void cancellingTouchesNoFile();
    void failedSaveKeepsTheEarlierFile();
    void fullDiskSaveIsTold();
    void readOnlyFolderStillSavesAWritableFile();
    void everyCodeSurvivesOpenAndSave();
    void openShowsWhatTheFileHolds();
    void failedOpensChangeNothing_data();
    void failedOpensChangeNothing();
    void quotesAndUnstorableTextRefused();
    void fileArgumentOpensAtStart();

private:
    void click(const char *button)
    {
        QTest::mouseClick(m_form->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton);
    }
    SelectionList *list(int n) const { return m_form->findChild<SelectionList *>(QStringLiteral("List%1").arg(n)); }
    QLineEdit *box(int n) const { return m_form->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(n)); }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void open(const QString &name)
    {
        m_dialogs->answer = path(name);
        click("READ_FILE");
    }
    void save(const QString &name)
    {
        m_dialogs->answer = path(name);
        click("WRITE_FILE");
    }
    // Everything an open could change.
    QStringList snapshot() const
    {
        QStringList s{box(2)->text(), m_form->state().panel, QString::number(m_form->state().BL)};
        for (int i = 0; i < kSwitchCount; ++i) {
            const SwitchFields &f = m_form->state().sw[i];
            s << box(i + 3)->text() << QString::number(box(i + 3)->isVisible())
              << QString::number(list(2 * i + 1)->selectedPosition())
              << QString::number(list(2 * i + 2)->selectedPosition()) << QString::number(list(2 * i + 2)->isVisible())
              << f.desig << QStringLiteral("%1 %2 %3").arg(f.s).arg(f.m).arg(f.c);
        }
        return s;
    }

    IsolatedSettings m_settings;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MainWindow> m_form;
    ScriptedDialogs *m_dialogs = nullptr;
};

void TestFileCommands::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_form = std::make_unique<MainWindow>();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    m_dialogs = dialogs.get();
    m_form->setFileDialogs(std::move(dialogs));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestFileCommands::cleanup()
{
    m_form.reset();
}

void TestFileCommands::refusalsInTheirOrder()
{
    // A fresh window: incomplete switches and no name; only the red text shows.
    click("WRITE_FILE");
    QVERIFY(m_form->statusBox().isVisible());
    QCOMPARE(m_form->statusBox().toPlainText(),
             QStringLiteral("DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA"));
    QCOMPARE(m_form->statusBox().background(), QColor(255, 0, 0));
    QVERIFY(m_dialogs->messages.isEmpty());
    QCOMPARE(m_dialogs->dialogs, 0);

    for (int i = 0; i < kSwitchCount; ++i)
        m_form->selectModulePosition(i, 17);
    click("WRITE_FILE");
    QCOMPARE(m_dialogs->messages, QStringList{QStringLiteral("Name must be entered in PANEL NAME field")});
    QVERIFY(!m_form->statusBox().isVisible());
    QCOMPARE(m_dialogs->dialogs, 0);

    box(2)->setText(QStringLiteral("   ")); // blanks are a name
    m_dialogs->answer.reset();
    click("WRITE_FILE");
    QCOMPARE(m_dialogs->dialogs, 1);
    QCOMPARE(m_dialogs->messages.size(), 1);
}

void TestFileCommands::savesTheExampleLine()
{
    for (int i = 0; i < kSwitchCount; ++i)
        m_form->selectModulePosition(i, 0);
    QTest::keyClicks(box(2), QStringLiteral("COACH"));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM[*]"));
    QVERIFY(m_form->isWindowModified());
    save(QStringLiteral("COACH.kdc"));
    // Nothing used yet: the dialog starts in the user's documents.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(m_dialogs->lastPreset, QDir(documents).filePath(QStringLiteral("COACH.kdc")));
    QCOMPARE(m_dialogs->lastTitle, QStringLiteral("WRITE CONFIGURATION FILE"));
    // The caption names the file, and the window holds no unsaved edit.
    QCOMPARE(m_form->windowTitle(),
             QStringLiteral("COACH.kdc[*] - RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM"));
    QCOMPARE(m_form->windowFilePath(), path(QStringLiteral("COACH.kdc")));
    QVERIFY(!m_form->isWindowModified());
    QCOMPARE(m_dialogs->lastFilter, QStringLiteral("KALDORAN CONFIGURATION FILES (*.kdc)"));
    QCOMPARE(readFile(QStringLiteral("COACH.kdc")), kCoachAllNotAssigned);
    QVERIFY(!m_form->statusBox().isVisible());

    // The open dialog offers the name the dialog was left with.
    m_dialogs->answer.reset();
    click("READ_FILE");
    QCOMPARE(m_dialogs->lastTitle, QStringLiteral("READ CONFIGURATION FILE"));
    QCOMPARE(m_dialogs->lastPreset, path(QStringLiteral("COACH.kdc")));

    // The next start begins in that file's folder.
    MainWindow next;
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs *asked = dialogs.get();
    next.setFileDialogs(std::move(dialogs));
    next.findChild<QPushButton *>(QStringLiteral("READ_FILE"))->click();
    QCOMPARE(asked->lastPreset, m_dir->path());
}

void TestFileCommands::cancellingTouchesNoFile()
{
    writeFile(QStringLiteral("OLD.kdc"), "old contents");
    for (int i = 0; i < kSwitchCount; ++i)
        m_form->selectModulePosition(i, 0);
    box(2)->setText(QStringLiteral("OLD"));
    m_dialogs->answer.reset();
    click("WRITE_FILE");
    QCOMPARE(readFile(QStringLiteral("OLD.kdc")), QByteArray("old contents"));
    const QStringList before = snapshot();
    click("READ_FILE");
    QCOMPARE(snapshot(), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("OLD.kdc")});
}

void TestFileCommands::failedSaveKeepsTheEarlierFile()
{
    writeFile(QStringLiteral("RIG.kdc"), "earlier");
    for (int i = 0; i < kSwitchCount; ++i)
        m_form->selectModulePosition(i, 0);
    box(2)->setText(QStringLiteral("RIG"));

    // No file may grow past 16 bytes; SIGXFSZ is left as the system has it, which
    // would end the program unless the tool itself ignores it.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &tiny);
    save(QStringLiteral("RIG.kdc"));
    setrlimit(RLIMIT_FSIZE, &saved);

    QCOMPARE(readFile(QStringLiteral("RIG.kdc")), QByteArray("earlier"));
    QVERIFY(!m_form->statusBox().isVisible());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("RIG.kdc")});
    QCOMPARE(
        m_dialogs->messages,
        QStringList{QStringLiteral("Could not save \"%1\": the file would pass the size limit set for this program.")
                        .arg(path(QStringLiteral("RIG.kdc")))});

    save(QStringLiteral("RIG.kdc")); // and with room again, the save goes through
    QVERIFY(readFile(QStringLiteral("RIG.kdc")).startsWith("\"RIG\""));
    QCOMPARE(m_dialogs->messages.size(), 1); // a successful save shows no box
}

void TestFileCommands::fullDiskSaveIsTold()
{
    const QString disk = path(QStringLiteral("disk"));
    QVERIFY(QDir().mkpath(disk));
    if (geteuid() != 0 || mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=16k") != 0)
        QSKIP("a full disk needs root to mount a small one");
    QFile filler(disk + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
    }
    filler.close();
    for (int i = 0; i < kSwitchCount; ++i)
        m_form->selectModulePosition(i, 0);
    box(2)->setText(QStringLiteral("FULL"));
    m_dialogs->answer = disk + QStringLiteral("/FULL.kdc");
    click("WRITE_FILE");
    const bool nothingLeft = !QFile::exists(disk + QStringLiteral("/FULL.kdc"));
    umount(QFile::encodeName(disk).constData());
    QCOMPARE(m_dialogs->messages,
             QStringList{QStringLiteral("Could not save \"%1/FULL.kdc\": the disk is full.").arg(disk)});
    QVERIFY(nothingLeft);
}

void TestFileCommands::readOnlyFolderStillSavesAWritableFile()
{
    // A folder where the save cannot put its temporary file, holding a file it may write.
    const QString folder = path(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/COACH.kdc");
    writeFile(QStringLiteral("locked/COACH.kdc"), "old");
    QVERIFY(chmod(QFile::encodeName(file).constData(), 0666) == 0);
    QVERIFY(chmod(QFile::encodeName(m_dir->path()).constData(), 0755) == 0);
    QVERIFY(chmod(QFile::encodeName(folder).constData(), 0555) == 0);
    const QByteArray line = kdcLine("COACH", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    const bool saved = asOrdinaryUser([&] { return ConfigurationFile::save(file, line).isEmpty(); });
    const bool refusedElsewhere =
        asOrdinaryUser([&] { return !ConfigurationFile::save(folder + QStringLiteral("/NEW.kdc"), line).isEmpty(); });
    chmod(QFile::encodeName(folder).constData(), 0755);
    QVERIFY(saved);
    QVERIFY(refusedElsewhere); // a new file there still cannot be made
    QCOMPARE(readFile(QStringLiteral("locked/COACH.kdc")), line);
}

void TestFileCommands::everyCodeSurvivesOpenAndSave()
{
    for (int first = 0; first <= 160; first += kSwitchCount) {
        QList<int> codes;
        for (int i = 0; i < kSwitchCount; ++i)
            codes << std::min(first + i, 160);
        const QByteArray bytes = kdcLine("BAY " + QByteArray::number(first), codes, " PORCH, LEFT ");
        const QString name = QStringLiteral("in%1.kdc").arg(first);
        writeFile(name, bytes);
        open(name);
        save(QStringLiteral("out%1.kdc").arg(first));
        QCOMPARE(readFile(QStringLiteral("out%1.kdc").arg(first)), bytes);
    }
}

void TestFileCommands::openShowsWhatTheFileHolds()
{
    writeFile(QStringLiteral("a.kdc"), kdcLine("THIRTEENCHARS", {23, 160, 159, 160, 2, 0, 9, 158, 10, 25}, "FRIDGE"));
    box(6)->hide();
    m_form->statusBox().showStatus();
    open(QStringLiteral("a.kdc"));
    QVERIFY(!m_form->statusBox().isVisible());
    // A name longer than the box is cut to it, and that is a change not yet saved.
    QCOMPARE(box(2)->text(), QStringLiteral("THIRTEENCHAR"));
    QCOMPARE(m_form->state().panel, QStringLiteral("THIRTEENCHAR"));
    QVERIFY(m_form->isWindowModified());
    for (int i = 0; i < kSwitchCount; ++i) {
        QCOMPARE(box(i + 3)->text(), QStringLiteral("FRIDGE"));
        QVERIFY(box(i + 3)->isVisible());
    }
    const int module[] = {3, 0, 17, 0, 1, 1, 1, 16, 2, 3};
    // "N/A" and "BL/MR" keep their own (here: no) channel, not the one SW1 left behind.
    const int channel[] = {3, -1, -1, -1, 2, 0, 9, 8, 0, 5};
    for (int i = 0; i < kSwitchCount; ++i) {
        QCOMPARE(list(2 * i + 1)->selectedPosition(), module[i]);
        QCOMPARE(list(2 * i + 2)->selectedPosition(), channel[i]);
        QCOMPARE(list(2 * i + 2)->isVisible(), module[i] != 0 && module[i] != 17);
    }

    save(QStringLiteral("b.kdc"));
    QCOMPARE(readFile(QStringLiteral("b.kdc")),
             kdcLine("THIRTEENCHAR", {23, 160, 159, 160, 2, 0, 9, 158, 10, 25}, "FRIDGE"));
    QVERIFY(!m_form->isWindowModified());
}

void TestFileCommands::failedOpensChangeNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray good = kdcLine("GOOD", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    QTest::newRow("empty") << QByteArray() << "the file is empty";
    QTest::newRow("ten fields") << good.split(',').mid(0, 10).join(',')
                                << "not a configuration file: line has 10 fields, expected 22";
    QTest::newRow("40-digit number") << QByteArray(good).replace(",7,", "," + QByteArray(40, '4') + ",")
                                     << QStringLiteral("not a configuration file: field 15 (SW7's code) is %1, "
                                                       "outside 0 to 160")
                                            .arg(QString(40, QLatin1Char('4')));
    QTest::newRow("binary") << QByteArray::fromHex("00ff10fe7f80").repeated(500)
                            << "not a configuration file: line has 1 field, expected 22";
    QTest::newRow("over 1 MiB though valid")
        << good + QByteArray(1024 * 1024, ' ') << "the file is larger than 1 MiB, too large for a configuration file";
    QTest::newRow("missing file") << QByteArray("<none>") << "the file or its folder does not exist";
    QTest::newRow("a pipe") << QByteArray("<fifo>") << "it is not a regular file";
    QTest::newRow("a folder") << QByteArray("<folder>") << "it is a folder";
}

void TestFileCommands::failedOpensChangeNothing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    m_form->selectModulePosition(1, 5);
    m_form->selectChannelPosition(1, 2);
    box(2)->setText(QStringLiteral("KEEP"));
    box(9)->setText(QStringLiteral("AWNING"));
    const QStringList before = snapshot();
    const QString name = path(QStringLiteral("broken.kdc"));
    if (bytes == "<fifo>")
        QVERIFY(mkfifo(QFile::encodeName(name).constData(), 0644) == 0); // nobody ever writes to it
    else if (bytes == "<folder>")
        QVERIFY(QDir().mkpath(name));
    else if (bytes != "<none>")
        writeFile(QStringLiteral("broken.kdc"), bytes);
    QElapsedTimer clock;
    clock.start();
    open(QStringLiteral("broken.kdc"));
    QVERIFY2(clock.elapsed() < 2000, "an open never waits on a file");
    QCOMPARE(snapshot(), before);
    QVERIFY(!m_form->statusBox().isVisible());
    QCOMPARE(m_dialogs->messages, QStringList{QStringLiteral("Could not open \"%1\": %2.").arg(name, reason)});

    // The window still works normally afterwards.
    writeFile(QStringLiteral("good.kdc"), kdcLine("GOOD", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    open(QStringLiteral("good.kdc"));
    QCOMPARE(box(2)->text(), QStringLiteral("GOOD"));
    QCOMPARE(m_dialogs->messages.size(), 1);
}

void TestFileCommands::quotesAndUnstorableTextRefused()
{
    QLineEdit *designation = box(3);
    designation->clear();
    QTest::keyClicks(designation, QStringLiteral("12\" TV"));
    QCOMPARE(designation->text(), QStringLiteral("12 TV"));
    designation->setFocus();
    QApplication::clipboard()->setText(QStringLiteral(" \u00E9\u20AC"));
    QTest::keyClick(designation, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(designation->text(), QStringLiteral("12 TV \u00E9\u20AC"));

    // A paste keeps what a file can store and drops the rest: quotes, characters
    // without a byte, and control characters that would break the file's one line.
    for (QLineEdit *target : {designation, box(2)}) {
        target->clear();
        target->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("SAY \"HI\""));
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(target->text(), QStringLiteral("SAY HI"));
        target->clear();
        QApplication::clipboard()->setText(QStringLiteral("\u2713 DONE\r\nX\tY\u007F\u0001"));
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(target->text(), QStringLiteral(" DONEXY"));
        QTest::keyClick(target, Qt::Key_Tab, Qt::NoModifier); // moves on, types nothing
        QCOMPARE(target->text(), QStringLiteral(" DONEXY"));
    }
}

void TestFileCommands::fileArgumentOpensAtStart()
{
    // kdr-switch-panel COACH.kdc: the same checks and message as the open command.
    writeFile(QStringLiteral("COACH.kdc"), kdcLine("COACH", {23, 160, 159, 0, 9, 10, 25, 158, 1, 2}));
    m_form->openFile(path(QStringLiteral("COACH.kdc")));
    QCOMPARE(box(2)->text(), QStringLiteral("COACH"));
    QCOMPARE(list(1)->selectedPosition(), 3);
    QCOMPARE(m_form->windowTitle(),
             QStringLiteral("COACH.kdc[*] - RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM"));
    QVERIFY(!m_form->isWindowModified());
    QVERIFY(m_dialogs->messages.isEmpty());
    QCOMPARE(m_dialogs->dialogs, 0);
    m_form->openFile(path(QStringLiteral("NONE.kdc")));
    QCOMPARE(m_dialogs->messages,
             QStringList{QStringLiteral("Could not open \"%1\": the file or its folder does not exist.")
                             .arg(path(QStringLiteral("NONE.kdc")))});
    QCOMPARE(box(2)->text(), QStringLiteral("COACH"));
}

QTEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
