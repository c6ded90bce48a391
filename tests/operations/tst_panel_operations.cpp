#include "link/MSComm1.h"
#include "ui/Form1.h"
#include "ui/SelectionList.h"
#include "ui/StatusTextBox.h"

#include "PtyPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace kdr;
using namespace kdr::sim;

namespace {

const QString kNoResponse = QStringLiteral("COMMUNICATIONS FAILURE SWITCH PANEL FAILED TO RESPOND");
const QString kBadData = QStringLiteral("COMMUNICATIONS FAILURE-BAD SWITCH PANEL DATA");
const QString kReadOk = QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL");
const QString kProgrammed = QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED");
const QString kIncomplete = QStringLiteral("DATA MUST BE ENTERED (CLICKED) FOR ALL SWITCHES BEFORE WRITING DATA");

const QColor kRed(255, 0, 0), kGreen(0, 255, 0);

} // namespace

class TestPanelOperations : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fullReadShowsDecodedCodes();
    void readOfAllNotAssigned();
    void readFromAbsentPanel();
    void readAnsweredOnlyAtFourthAttempt();
    void readStopsAtOutOfRangeCode();
    void readStopsAtMissingReply();
    void clickDuringReadChangesNothingOnTheWire();

    void writeRefusesIncompleteSwitches();
    void writeAllNotAssigned();
    void writeStopsAtMismatch();
    void writeFailsAtClosingAddressOnly();
    void writeFromAbsentPanel();

    void portThatCannotBeOpened();
    void unplugMidOperationThenReplug();
    void closingTheWindowEndsTheWait();
    void closingTheWindowEndsTheProgram();  // last: the application quits here

private:
    void start(PanelFaults faults = {});
    void click(const char *button) { QTest::mouseClick(m_form->findChild<QPushButton *>(QLatin1String(button)), Qt::LeftButton); }
    SelectionList *list(int n) const { return m_form->findChild<SelectionList *>(QStringLiteral("List%1").arg(n)); }
    QLineEdit *box(int n) const { return m_form->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(n)); }
    QString statusText() const { return m_form->statusBox().toPlainText(); }
    QColor statusColour() const { return m_form->statusBox().background(); }
    void setAll(int module, int channel = -1)
    {
        for (int i = 0; i < kSwitchCount; ++i) {
            m_form->selectModulePosition(i, module);
            if (channel >= 0)
                m_form->selectChannelPosition(i, channel);
        }
    }
    void expectEnded()
    {
        QVERIFY(m_form->statusBox().isVisible());
        QVERIFY(!m_form->port().portOpen());
        QVERIFY(!m_form->operationRunning());
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
    std::unique_ptr<Form1> m_form;
};

void TestPanelOperations::init()
{
    start();
}

void TestPanelOperations::start(PanelFaults faults)
{
    m_form.reset();
    m_panel.reset();
    m_panel = std::make_unique<PtyPanel>(std::move(faults), m_dir.filePath(QStringLiteral("panel-port")));
    QVERIFY(m_panel->isPluggedIn());
    m_form = std::make_unique<Form1>(m_panel->devicePath());
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestPanelOperations::cleanup()
{
    m_form.reset();
    m_panel.reset();
}

void TestPanelOperations::fullReadShowsDecodedCodes()
{
    const int codes[] = {0, 9, 10, 25, 158, 159, 160, 25, 160, 159};
    for (int a = 0; a < 10; ++a)
        m_panel->panel().setCode(a, codes[a]);
    box(2)->setText(QStringLiteral("COACH"));
    box(5)->setText(QStringLiteral("PORCH LIGHT"));

    click("READ_CONFIG");

    QCOMPARE(statusText(), kReadOk);
    QCOMPARE(statusColour(), kGreen);
    expectEnded();
    QCOMPARE(box(2)->text(), QString());
    const int module[] = {1, 1, 2, 3, 16, 17, 0, 3, 0, 17};
    const int channel[] = {0, 9, 0, 5, 8};
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(list(2 * i + 1)->selectedPosition(), module[i]);
        if (i < 5) {
            QCOMPARE(list(2 * i + 2)->selectedPosition(), channel[i]);
            QVERIFY(list(2 * i + 2)->isVisible());
        }
        QCOMPARE(list(2 * i + 2)->isVisible(), module[i] != 0 && module[i] != 17);
        QCOMPARE(box(i + 3)->text(), QString());
        QVERIFY(!box(i + 3)->isVisible());
    }
    QCOMPARE(m_panel->countOf("A"), 1);
    QCOMPARE(m_panel->commands().size(), 11);  // no read of address 10

    // A channel click shows the emptied designation box again; a module click does not.
    QTest::mouseClick(list(1)->viewport(), Qt::LeftButton, {}, list(1)->visualItemRect(list(1)->item(1)).center());
    QVERIFY(!box(3)->isVisible());
    QTest::mouseClick(list(2)->viewport(), Qt::LeftButton, {}, list(2)->visualItemRect(list(2)->item(0)).center());
    QVERIFY(box(3)->isVisible());
}

void TestPanelOperations::readOfAllNotAssigned()
{
    m_form->statusBox().hideStatus();
    click("READ_CONFIG");
    QCOMPARE(statusText(), kReadOk);
    expectEnded();
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(list(2 * i + 1)->selectedPosition(), 0);
        QVERIFY(!list(2 * i + 2)->isVisible());
        QVERIFY(!box(i + 3)->isVisible());
    }
}

void TestPanelOperations::readFromAbsentPanel()
{
    PanelFaults silent;
    silent.silent = true;
    start(silent);
    m_form->selectModulePosition(0, 5);
    box(2)->setText(QStringLiteral("NAME"));
    click("READ_CONFIG");
    QCOMPARE(statusText(), kNoResponse);
    QCOMPARE(statusColour(), kRed);
    expectEnded();
    QCOMPARE(m_panel->countOf("A"), 6);
    QCOMPARE(m_panel->commands().size(), 6);
    QCOMPARE(box(2)->text(), QString());
    QCOMPARE(list(1)->selectedPosition(), 5);
    QCOMPARE(box(3)->text(), QStringLiteral("DESIGNATION "));
}

void TestPanelOperations::readAnsweredOnlyAtFourthAttempt()
{
    PanelFaults faults;
    faults.answerFromHandshake = 4;
    start(faults);
    click("READ_CONFIG");
    QCOMPARE(statusText(), kReadOk);
    QCOMPARE(m_panel->countOf("A"), 4);
}

void TestPanelOperations::readStopsAtOutOfRangeCode()
{
    PanelFaults faults;
    faults.readReplyAt.insert(3, "01700");
    start(faults);
    for (int a = 0; a < 3; ++a)
        m_panel->panel().setCode(a, 20 + a);
    setAll(2, 4);  // "B" / "5" everywhere beforehand
    box(8)->setText(QStringLiteral("AWNING"));

    click("READ_CONFIG");
    const qint64 endedAt = m_panel->elapsedMs();

    QCOMPARE(statusText(), kBadData);
    QCOMPARE(statusColour(), kRed);
    expectEnded();
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(list(2 * i + 1)->selectedPosition(), 3);
        QCOMPARE(list(2 * i + 2)->selectedPosition(), i);
    }
    QCOMPARE(list(7)->selectedPosition(), 0);  // 170 shows as "N/A"
    QVERIFY(!list(8)->isVisible());
    QVERIFY(!box(6)->isVisible());
    QCOMPARE(box(6)->text(), QString());
    for (int i = 4; i < 10; ++i) {
        QCOMPARE(list(2 * i + 1)->selectedPosition(), 2);
        QCOMPARE(list(2 * i + 2)->selectedPosition(), 4);
        QVERIFY(box(i + 3)->isVisible());
    }
    QCOMPARE(box(8)->text(), QStringLiteral("AWNING"));
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
    m_form->selectModulePosition(1, 7);
    m_form->selectChannelPosition(1, 2);
    click("READ_CONFIG");
    QCOMPARE(statusText(), kBadData);
    expectEnded();
    QCOMPARE(list(1)->selectedPosition(), 0);   // SW1 was read
    QCOMPARE(list(3)->selectedPosition(), 7);   // SW2 shows no value that was never read
    QCOMPARE(list(4)->selectedPosition(), 2);
    QVERIFY(box(4)->isVisible());
    QCOMPARE(box(4)->text(), QStringLiteral("DESIGNATION "));
}

void TestPanelOperations::clickDuringReadChangesNothingOnTheWire()
{
    int nestedClicks = 0;
    QTimer::singleShot(350, this, [&] {
        ++nestedClicks;
        click("READ_CONFIG");
        click("WRITE_CONFIG");
    });
    click("READ_CONFIG");
    QCOMPARE(nestedClicks, 1);
    QCOMPARE(statusText(), kReadOk);
    QCOMPARE(m_panel->countOf("A"), 1);
    QCOMPARE(m_panel->commands().size(), 11);
    QVERIFY(writes().isEmpty());
}

void TestPanelOperations::writeRefusesIncompleteSwitches()
{
    setAll(0);
    m_form->selectModulePosition(2, 3);  // "C" without a channel
    click("WRITE_CONFIG");
    QCOMPARE(statusText(), kIncomplete);
    QCOMPARE(statusColour(), kRed);
    expectEnded();

    m_form->selectChannelPosition(2, 1);
    m_form->selectModulePosition(4, -1);
    list(9)->clearSelection();  // no module at all for SW5
    click("WRITE_CONFIG");
    QCOMPARE(statusText(), kIncomplete);
    expectEnded();
    QVERIFY(m_panel->received().isEmpty());
}

void TestPanelOperations::writeAllNotAssigned()
{
    setAll(0);
    box(2)->setText(QStringLiteral("COACH"));
    box(3)->setText(QStringLiteral("STEP"));
    m_form->statusBox().hideStatus();

    click("WRITE_CONFIG");

    QCOMPARE(statusText(), kProgrammed);
    QCOMPARE(statusColour(), kGreen);
    expectEnded();
    const QList<QByteArray> written = writes();
    QCOMPARE(written.size(), 11);
    for (int a = 0; a < 11; ++a) {
        QCOMPARE(quint8(written[a][2]), a);
        QCOMPARE(quint8(written[a][4]), a < 10 ? 160 : 159);
        QCOMPARE(m_panel->panel().code(a), a < 10 ? 160 : 159);
    }
    QCOMPARE(m_panel->commands().size(), 1 + 22);  // every write read back
    const auto &log = m_panel->received();
    QVERIFY(log[1].atMs - log[0].atMs >= 99);
    for (int i = 3; i < log.size(); i += 2)
        QVERIFY2(log[i].atMs - log[i - 2].atMs >= 99, "a tick before every write step");
    // A write changes no list and no text box.
    QCOMPARE(box(2)->text(), QStringLiteral("COACH"));
    QCOMPARE(box(3)->text(), QStringLiteral("STEP"));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(list(2 * i + 1)->selectedPosition(), 0);
}

void TestPanelOperations::writeStopsAtMismatch()
{
    PanelFaults faults;
    faults.readReplyAt.insert(4, "01510");
    start(faults);
    setAll(3, 3);
    click("WRITE_CONFIG");
    QCOMPARE(statusText(), kBadData);
    QCOMPARE(statusColour(), kRed);
    expectEnded();
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
    setAll(16, 9);  // "P" + "10" is written as 159
    click("WRITE_CONFIG");
    QCOMPARE(statusText(), kBadData);
    expectEnded();
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
    click("WRITE_CONFIG");
    QCOMPARE(statusText(), kNoResponse);
    expectEnded();
    QCOMPARE(m_panel->countOf("A"), 6);
    QVERIFY(writes().isEmpty());
}

void TestPanelOperations::portThatCannotBeOpened()
{
    m_form = std::make_unique<Form1>(QStringLiteral("/nonexistent/ttyS0"));
    m_form->show();
    const QString notOpened = QStringLiteral("COMMUNICATIONS FAILURE-SERIAL PORT /nonexistent/ttyS0 COULD NOT BE OPENED");
    box(2)->setText(QStringLiteral("KEEP"));
    click("READ_CONFIG");
    QCOMPARE(statusText(), notOpened);
    QCOMPARE(statusColour(), kRed);
    QCOMPARE(box(2)->text(), QString());
    click("WRITE_CONFIG");  // incomplete selections too, but the port comes first
    QCOMPARE(statusText(), notOpened);
    expectEnded();
}

void TestPanelOperations::unplugMidOperationThenReplug()
{
    m_panel->panel().faults().hangUpAfterCommands = 3;
    click("READ_CONFIG");
    QCOMPARE(statusText(), kBadData);
    QCOMPARE(statusColour(), kRed);
    expectEnded();
    QCOMPARE(list(1)->selectedPosition(), 0);  // SW1 was read before the cable went

    m_panel->panel().faults().hangUpAfterCommands = 1;
    QVERIFY(m_panel->plugIn());
    setAll(0);
    click("WRITE_CONFIG");
    QCOMPARE(statusText(), kNoResponse);  // gone during the handshake
    expectEnded();

    m_panel->panel().faults().hangUpAfterCommands = 0;
    QVERIFY(m_panel->plugIn());
    click("READ_CONFIG");
    QCOMPARE(statusText(), kReadOk);
    expectEnded();
}

void TestPanelOperations::closingTheWindowEndsTheWait()
{
    m_panel->panel().faults().silent = true;
    QTimer::singleShot(250, m_form.get(), &QWidget::close);
    QElapsedTimer clock;
    clock.start();
    click("READ_CONFIG");
    QVERIFY2(clock.elapsed() < 250 + 150, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!m_form->isVisible());
    QVERIFY(!m_form->port().portOpen());
    QVERIFY(!m_form->operationRunning());
}

void TestPanelOperations::closingTheWindowEndsTheProgram()
{
    // What main() does, with a read under way when the window is closed.
    m_panel->panel().faults().replyDelayMs = 60;
    QTimer::singleShot(0, this, [this] { click("READ_CONFIG"); });
    QTimer::singleShot(400, m_form.get(), &QWidget::close);
    QElapsedTimer clock;
    clock.start();
    const int status = QApplication::exec();
    QCOMPARE(status, 0);
    QVERIFY2(clock.elapsed() < 400 + 200, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!m_form->port().portOpen());
    QVERIFY(!m_form->operationRunning());
    QCOMPARE(m_form->statusBox().background(), kRed);
}

QTEST_MAIN(TestPanelOperations)
#include "tst_panel_operations.moc"
