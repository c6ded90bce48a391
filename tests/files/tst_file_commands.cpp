#include "files/FileCommands.h"
#include "files/FileDialogs.h"
#include "ui/MainWindow.h"
#include "ui/SelectionList.h"
#include "ui/StatusTextBox.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

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
    void everyCodeSurvivesOpenAndSave();
    void openShowsWhatTheFileHolds();
    void failedOpensChangeNothing_data();
    void failedOpensChangeNothing();
    void quotesAndUnstorableTextRefused();

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
    save(QStringLiteral("COACH.kdc"));
    QCOMPARE(m_dialogs->lastPreset, QStringLiteral("COACH.kdc"));
    QCOMPARE(m_dialogs->lastTitle, QStringLiteral("WRITE CONFIGURATION FILE"));
    QCOMPARE(m_dialogs->lastFilter, QStringLiteral("KALDORAN CONFIGURATION FILES (*.kdc)"));
    QCOMPARE(readFile(QStringLiteral("COACH.kdc")), kCoachAllNotAssigned);
    QVERIFY(!m_form->statusBox().isVisible());

    // The open dialog offers the name the dialog was left with.
    m_dialogs->answer.reset();
    click("READ_FILE");
    QCOMPARE(m_dialogs->lastTitle, QStringLiteral("READ CONFIGURATION FILE"));
    QCOMPARE(m_dialogs->lastPreset, path(QStringLiteral("COACH.kdc")));
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

    // A full disk, as far as this process can tell: no file may grow past 16 bytes.
    std::signal(SIGXFSZ, SIG_IGN);
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

    save(QStringLiteral("RIG.kdc")); // and with room again, the save goes through
    QVERIFY(readFile(QStringLiteral("RIG.kdc")).startsWith("\"RIG\""));
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
    writeFile(QStringLiteral("a.kdc"), kdcLine("THIRTEENCHARS", {23, 160, 159, 200, -5, 0, 9, 158, 10, 25}, "FRIDGE"));
    box(6)->hide();
    m_form->statusBox().showStatus();
    open(QStringLiteral("a.kdc"));
    QVERIFY(!m_form->statusBox().isVisible());
    QCOMPARE(box(2)->text(), QStringLiteral("THIRTEENCHAR"));
    QCOMPARE(m_form->state().panel, QStringLiteral("THIRTEENCHARS"));
    for (int i = 0; i < kSwitchCount; ++i) {
        QCOMPARE(box(i + 3)->text(), QStringLiteral("FRIDGE"));
        QVERIFY(box(i + 3)->isVisible());
    }
    const int module[] = {3, 0, 17, 0, 1, 1, 1, 16, 2, 3};
    // "N/A" and "BL/MR" keep their own (here: no) channel, not the one SW1 left behind.
    const int channel[] = {3, -1, -1, -1, -1, 0, 9, 8, 0, 5};
    for (int i = 0; i < kSwitchCount; ++i) {
        QCOMPARE(list(2 * i + 1)->selectedPosition(), module[i]);
        QCOMPARE(list(2 * i + 2)->selectedPosition(), channel[i]);
        QCOMPARE(list(2 * i + 2)->isVisible(), module[i] != 0 && module[i] != 17);
    }

    // The negative code left SW5 at "A" with no channel: it must be completed before saving.
    save(QStringLiteral("b.kdc"));
    QCOMPARE(m_form->statusBox().toPlainText(),
             QStringLiteral("DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA"));
    m_form->selectChannelPosition(4, 2);
    save(QStringLiteral("b.kdc"));
    QCOMPARE(readFile(QStringLiteral("b.kdc")),
             kdcLine("THIRTEENCHAR", {23, 160, 159, 160, 2, 0, 9, 158, 10, 25}, "FRIDGE"));
}

void TestFileCommands::failedOpensChangeNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = kdcLine("GOOD", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("ten fields") << good.split(',').mid(0, 10).join(',');
    QTest::newRow("40-digit number") << QByteArray(good).replace(",7,", "," + QByteArray(40, '4') + ",");
    QTest::newRow("binary") << QByteArray::fromHex("00ff10fe7f80").repeated(500);
    QTest::newRow("megabytes of one line") << QByteArray(3 * 1024 * 1024, 'x');
    QTest::newRow("over 1 MiB though valid") << good + QByteArray(1024 * 1024, ' ');
    QTest::newRow("missing file") << QByteArray("<none>");
}

void TestFileCommands::failedOpensChangeNothing()
{
    QFETCH(QByteArray, bytes);
    m_form->selectModulePosition(1, 5);
    m_form->selectChannelPosition(1, 2);
    box(2)->setText(QStringLiteral("KEEP"));
    box(9)->setText(QStringLiteral("AWNING"));
    const QStringList before = snapshot();
    if (bytes != "<none>")
        writeFile(QStringLiteral("broken.kdc"), bytes);
    open(QStringLiteral("broken.kdc"));
    QCOMPARE(snapshot(), before);
    QVERIFY(!m_form->statusBox().isVisible());

    // The window still works normally afterwards.
    writeFile(QStringLiteral("good.kdc"), kdcLine("GOOD", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    open(QStringLiteral("good.kdc"));
    QCOMPARE(box(2)->text(), QStringLiteral("GOOD"));
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

    for (QLineEdit *target : {designation, box(2)}) {
        target->clear();
        target->setFocus();
        QApplication::clipboard()->setText(QStringLiteral("SAY \"HI\""));
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(target->text(), QString());
        QApplication::clipboard()->setText(QStringLiteral("\u2713 DONE"));
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(target->text(), QString());
        QApplication::clipboard()->setText(QStringLiteral("PORCH, LEFT"));
        QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(target->text(), QStringLiteral("PORCH, LEFT"));
    }
}

QTEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
