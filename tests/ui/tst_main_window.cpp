// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileDialogs.h"
#include "operations/PanelSession.h"
#include "link/PanelPort.h"
#include "link/PanelProtocol.h"
#include "link/SerialPorts.h"
#include "model/StatusTexts.h"
#include "ui/MainWindow.h"
#include "ui/ServiceMenu.h"
#include "ui/PortChooser.h"
#include "ui/Preferences.h"
#include "ui/SelectionList.h"
#include "ui/StatusTextBox.h"

#include "IsolatedSettings.h"

#include <sys/stat.h>
#include "PtyPanel.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QAccessible>
#include <QElapsedTimer>
#include <QStyleOptionSlider>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QToolTip>
#include <QHelpEvent>

#include <functional>

using namespace kdr;

namespace {

// The tool tip a person sees on pointing at a control.
QString shownToolTip(QWidget *widget)
{
    QHelpEvent pointedAt(QEvent::ToolTip, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &pointedAt);
    const QString shown = QToolTip::text();
    QToolTip::hideText();
    return shown;
}

} // namespace

namespace {

struct Expected {
    const char *name;
    int left, top, width, height; // twips
};

// The window's rectangles as the panel drawing gives them.
const Expected kFixedControls[] = {
    {"READ_CONFIG", 8280, 1680, 2535, 855}, {"WRITE_CONFIG", 8280, 3120, 2535, 855},
    {"READ_FILE", 240, 1680, 2415, 855},    {"WRITE_FILE", 240, 3000, 2415, 855},
    {"Text1", 3840, 1680, 3255, 615},       {"Image1", 3120, 1440, 4695, 7095},
    {"Label6", 4800, 7800, 1455, 255},      {"Text2", 4800, 8040, 1455, 285},
    {"Label14", 720, 6960, 1455, 615},      {"Shape1", 3240, 6720, 615, 975},
};

const char *const kCaptionNames[] = {"Label2", "Label3",  "Label4",  "Label5",  "Label8",
                                     "Label9", "Label10", "Label11", "Label12", "Label13"};

QRect px(int l, int t, int w, int h)
{
    return QRect(l / 15, t / 15, w / 15, h / 15);
}

} // namespace

namespace {

// Counts the file dialogs a command would have opened.
struct CountingDialogs : FileDialogs {
    int asked = 0;
    std::optional<QString> saveFileName(const QString &, const QString &, const QString &) override
    {
        return ++asked, std::nullopt;
    }
    std::optional<QString> openFileName(const QString &, const QString &, const QString &) override
    {
        return ++asked, std::nullopt;
    }
    void showMessage(const QString &) override { ++asked; }
    CloseAnswer askSaveChanges(LosingEdits) override { return ++asked, CloseAnswer::Discard; }
};

// Answers the close question and the save dialog as scripted.
struct ClosingDialogs : FileDialogs {
    CloseAnswer closeAnswer = CloseAnswer::Cancel;
    std::optional<QString> saveAs;
    int questions = 0;
    std::optional<QString> saveFileName(const QString &, const QString &, const QString &) override { return saveAs; }
    std::optional<QString> openFileName(const QString &, const QString &, const QString &) override { return {}; }
    void showMessage(const QString &) override {}
    CloseAnswer askSaveChanges(LosingEdits) override { return ++questions, closeAnswer; }
};

// The window's dialogs replaced by a scripted kind; the window owns them.
template<typename Dialogs>
Dialogs *giveDialogs(MainWindow &window)
{
    auto dialogs = std::make_unique<Dialogs>();
    Dialogs *kept = dialogs.get();
    window.setFileDialogs(std::move(dialogs));
    return kept;
}

void typeName(MainWindow &w)
{
    QTest::keyClicks(w.findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("RIG"));
}

// "N/A" clicked in every module list: every switch complete.
void clickNotAssigned(MainWindow &w)
{
    for (int n = 1; n <= 19; n += 2) {
        auto *list = w.findChild<SelectionList *>(QStringLiteral("List%1").arg(n));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    }
}

void clickButton(QWidget *window, const char *name)
{
    QTest::mouseClick(window->findChild<QPushButton *>(QLatin1String(name)), Qt::LeftButton);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsUpQuiet();
    void everyToolTip();
    void everyRectangle();
    void calloutAndTitle();
    void drawingOrder();
    void threeEntriesVisible();
    void tabOrderSelectsNothing();
    void panelNameTakesTwelveCharacters();
    void statusTextWraps();

    void clickRunsHandlerEvenOnSelectedEntry();
    void codeSetRunsHandlerEvenAtSamePosition();
    void keyboardNavigationSelects();
    void ctrlClickKeepsTheSelection();
    void moduleChannelRoundTripThroughTheWindow();
    void noChannelPositionClearsTheList();

    void portChooserChoosesAndRemembers();
    void portFailuresFitTheStatusBox();
    void unsavedEditsAskBeforeClosing();
    void unsavedEditsAskBeforeAReadOrDuringAWrite();
    void everyControlHasAnAccessibleName();
    void listsShowThreeRowsAndAThumb();
    void commandsDuringAReadAreIgnored();
    void failedSwitchCaptionTurnsRed();
    void closingTheWindowEndsTheWait();
    void closingDuringAWriteSendsNothingMore();
    void serviceKitCommands();
    void closingTheWindowEndsTheProgram(); // last: the application quits here

private:
    template<typename T = QWidget>
    T *control(const QString &name) const
    {
        auto *w = m_form->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    SelectionList *list(int number) const { return control<SelectionList>(QStringLiteral("List%1").arg(number)); }
    void click(SelectionList *l, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        l->scrollToItem(l->item(row));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, modifiers, l->visualItemRect(l->item(row)).center());
    }

    IsolatedSettings m_settings;
    MainWindow *m_form = nullptr;
};

void TestMainWindow::init()
{
    m_form = new MainWindow;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void TestMainWindow::cleanup()
{
    delete m_form;
    m_form = nullptr;
}

void TestMainWindow::startsUpQuiet()
{
    QCOMPARE(m_form->windowTitle(), QStringLiteral("RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM"));
    QCOMPARE(m_form->size(), QSize(736, 594));
    QVERIFY(!control(QStringLiteral("Text1"))->isVisible());
    for (int n = 1; n <= 20; ++n) {
        QVERIFY(list(n)->isVisible());
        QCOMPARE(list(n)->selectedPosition(), -1);
        QCOMPARE(list(n)->count(), n % 2 ? 18 : 10);
    }
    QCOMPARE(list(1)->item(17)->text(), QStringLiteral("BL/MR"));
    QCOMPARE(list(1)->itemValue(17), 159);
    QCOMPARE(list(1)->itemValue(0), 160);
    QCOMPARE(list(2)->itemValue(9), 9);
    for (int n = 3; n <= 12; ++n) {
        auto *box = control<QLineEdit>(QStringLiteral("Text%1").arg(n));
        QVERIFY(box->isVisible());
        QCOMPARE(box->text(), QStringLiteral("DESIGNATION "));
    }
    QCOMPARE(control<QLineEdit>(QStringLiteral("Text2"))->text(), QString());
    QCOMPARE(QApplication::focusWidget(), control(QStringLiteral("READ_CONFIG")));
    const WorkingState &s = m_form->state();
    QCOMPARE(s.error_flag, 0);
    QCOMPARE(s.sw[0].s, 0);
    QVERIFY(s.panel.isEmpty());
}

void TestMainWindow::everyToolTip()
{
    for (int n = 1; n <= 10; ++n) {
        QCOMPARE(shownToolTip(control(QStringLiteral("Text%1").arg(n + 2))),
                 QStringLiteral("ENTER SW%1 FUNCTION").arg(n));
        QCOMPARE(list(2 * n - 1)->toolTip(), QStringLiteral("SW%1 MODULE ASSIGNMENT").arg(n));
        QCOMPARE(list(2 * n)->toolTip(), QStringLiteral("SW%1 CHANNEL ASSIGNMENT").arg(n));
    }
    QCOMPARE(list(15)->toolTip(), QStringLiteral("SW8 MODULE ASSIGNMENT"));
    QCOMPARE(control(QStringLiteral("Text2"))->toolTip(), QStringLiteral("ENTER IDENTITY FOR FILE NAME"));
    QCOMPARE(control(QStringLiteral("READ_CONFIG"))->toolTip(),
             QStringLiteral("LEFT CLICK TO READ CONFIG IN SWITCH PANEL"));
    QCOMPARE(control(QStringLiteral("WRITE_CONFIG"))->toolTip(),
             QStringLiteral("LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL"));
    QCOMPARE(control(QStringLiteral("READ_FILE"))->toolTip(), QStringLiteral("LEFT CLICK TO OPEN CONFIG FILE"));
    QCOMPARE(control(QStringLiteral("WRITE_FILE"))->toolTip(), QStringLiteral("LEFT CLICK TO SAVE CONFIG FILE"));
    for (const char *name : {"Text1", "Label1", "Image1", "Label6", "Label14"})
        QVERIFY2(control(QLatin1String(name))->toolTip().isEmpty(), name);

    QCOMPARE(control<QPushButton>(QStringLiteral("READ_CONFIG"))->text(),
             QStringLiteral("READ CONFIGURATION FROM SWITCH PANEL"));
    QCOMPARE(control<QPushButton>(QStringLiteral("WRITE_CONFIG"))->text(),
             QStringLiteral("WRITE CONFIGURATION TO SWITCH PANEL"));
    QCOMPARE(control<QPushButton>(QStringLiteral("READ_FILE"))->text(), QStringLiteral("OPEN CONFIGURATION FILE"));
    QCOMPARE(control<QPushButton>(QStringLiteral("WRITE_FILE"))->text(), QStringLiteral("SAVE CONFIGURATION FILE"));
    QCOMPARE(control<QLabel>(QStringLiteral("Label6"))->text(), QStringLiteral("PANEL NAME"));
}

void TestMainWindow::everyRectangle()
{
    for (const Expected &e : kFixedControls)
        QCOMPARE(control(QLatin1String(e.name))->geometry(), px(e.left, e.top, e.width, e.height));

    for (int n = 1; n <= 10; ++n) {
        const int r = (n - 1) / 2, c = (n - 1) % 2;
        QCOMPARE(control(QStringLiteral("Text%1").arg(n + 2))->geometry(),
                 px(3840 + 1800 * c, 2400 + 1080 * r, 1455, 285));
        QCOMPARE(list(2 * n - 1)->geometry(), px(3840 + 1800 * c, 2640 + 1080 * r, 855, 645));
        QCOMPARE(list(2 * n)->geometry(), px(4680 + 1800 * c, 2640 + 1080 * r, 615, 645));
        auto *caption = control<QLabel>(QLatin1String(kCaptionNames[n - 1]));
        QCOMPARE(caption->text(), QStringLiteral("SW%1").arg(n));
        QCOMPARE(caption->geometry(), px(3360 + 3840 * c, 2760 + 1080 * r, n == 10 ? 525 : 420, 195));
        QCOMPARE(caption->palette().color(QPalette::WindowText), QColor(Qt::white));
    }
}

void TestMainWindow::calloutAndTitle()
{
    auto *title = control<QLabel>(QStringLiteral("Label1"));
    QCOMPARE(title->geometry().topLeft(), QPoint(2760 / 15, 240 / 15));
    QCOMPARE(title->width(), 5535 / 15);
    QVERIFY(title->font().bold() && title->font().underline());
    const QFontMetrics fm(title->font());
    const QRect wrapped = fm.boundingRect(QRect(0, 0, title->width(), 1000), Qt::TextWordWrap, title->text());
    QCOMPARE(wrapped.height() / fm.lineSpacing(), 2);
    QVERIFY(title->height() >= wrapped.height());

    auto *callout = control<QLabel>(QStringLiteral("Label14"));
    const QFontMetrics cfm(callout->font());
    const QRect lines = cfm.boundingRect(QRect(0, 0, callout->width(), 1000), Qt::TextWordWrap, callout->text());
    QCOMPARE(lines.height() / cfm.lineSpacing(), 3);

    // The line runs from the callout label's right edge to the marker's left edge.
    QWidget *line = control(QStringLiteral("Line1"));
    QCOMPARE(line->geometry().left(), 2160 / 15);
    QCOMPARE(line->geometry().left() + line->width(), control(QStringLiteral("Shape1"))->geometry().left());
    QVERIFY(line->geometry().contains(QPoint(2160 / 15, 7200 / 15)));

    // The SW9 caption sits inside the marker, and the marker is only an outline.
    const QRect marker = control(QStringLiteral("Shape1"))->geometry();
    QVERIFY(marker.contains(control(QStringLiteral("Label12"))->geometry()));
    const QImage shot = m_form->grab().toImage();
    const QPoint inside = control(QStringLiteral("Label12"))->geometry().center() + QPoint(-10, 12);
    QVERIFY(shot.pixelColor(inside) != QColor(128, 255, 255));
    QCOMPARE(shot.pixelColor(marker.left() + 1, marker.center().y()), QColor(128, 255, 255));
}

void TestMainWindow::drawingOrder()
{
    const QObjectList &children = m_form->children();
    auto layer = [&](const char *name) { return children.indexOf(control(QLatin1String(name))); };
    QCOMPARE(layer("Image1"), 0);
    QVERIFY(layer("Label2") > layer("Image1"));
    QVERIFY(layer("Shape1") > layer("Label12"));
    for (int n = 1; n <= 10; ++n) {
        const QString box = QStringLiteral("Text%1").arg(n + 2);
        QVERIFY(children.indexOf(control(box)) > children.indexOf(list(2 * n - 1)));
        QVERIFY(children.indexOf(control(box)) > children.indexOf(list(2 * n)));
        // The box overlaps the top 45 twips (3 pixels) of its lists.
        QCOMPARE(control(box)->geometry().intersected(list(2 * n)->geometry()).height(), 3);
    }
}

void TestMainWindow::threeEntriesVisible()
{
    for (int n : {1, 2, 19, 20}) {
        SelectionList *l = list(n);
        const QRect viewport = l->viewport()->rect();
        for (int row = 0; row < 3; ++row)
            QVERIFY2(viewport.contains(l->visualItemRect(l->item(row))), qPrintable(l->objectName()));
        QVERIFY(!viewport.contains(l->visualItemRect(l->item(3))));
        // The longest entry stays whole inside its row.
        const QString longest = n % 2 ? QStringLiteral("BL/MR") : QStringLiteral("10");
        const QRect row = l->visualItemRect(l->item(n % 2 ? 17 : 9));
        QVERIFY2(l->fontMetrics().horizontalAdvance(longest) + 4 <= row.width(),
                 qPrintable(QStringLiteral("%1: %2 in %3")
                                .arg(l->objectName())
                                .arg(l->fontMetrics().horizontalAdvance(longest))
                                .arg(row.width())));
    }
}

void TestMainWindow::tabOrderSelectsNothing()
{
    auto walk = [this](qsizetype steps) {
        QStringList seen;
        control(QStringLiteral("READ_CONFIG"))->setFocus();
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << QApplication::focusWidget()->objectName();
        }
        return seen;
    };
    QStringList expected{"WRITE_CONFIG", "READ_FILE", "WRITE_FILE"};
    for (int sw : {1, 2, 4, 5, 6, 7, 3, 8, 9, 10})
        expected << QStringLiteral("List%1").arg(2 * sw);
    for (int sw : {1, 6, 5, 4, 3, 2, 7, 10, 9, 8})
        expected << QStringLiteral("List%1").arg(2 * sw - 1);
    expected << "Text2"
             << "SERIAL_PORT";
    for (int n = 3; n <= 12; ++n)
        expected << QStringLiteral("Text%1").arg(n);
    expected << "READ_CONFIG";
    QCOMPARE(walk(expected.size()), expected);
    for (int n = 1; n <= 20; ++n)
        QCOMPARE(list(n)->selectedPosition(), -1);
    QCOMPARE(m_form->state().sw[0].s, 0);

    // A shown status box takes its place before the panel name box; a hidden list is skipped.
    m_form->statusBox().setStatusText(QStringLiteral("COMMUNICATIONS OK"));
    m_form->statusBox().showStatus();
    list(1)->setSelectedPosition(0); // "N/A" hides SW1's channel list
    QStringList withStatus = expected;
    withStatus.removeOne(QStringLiteral("List2"));
    withStatus.insert(withStatus.indexOf(QStringLiteral("Text2")), QStringLiteral("Text1"));
    QCOMPARE(walk(withStatus.size()), withStatus);
}

void TestMainWindow::panelNameTakesTwelveCharacters()
{
    auto *name = control<QLineEdit>(QStringLiteral("Text2"));
    QTest::keyClicks(name, QStringLiteral("ABCDEFGHIJKLM"));
    QCOMPARE(name->text(), QStringLiteral("ABCDEFGHIJKL"));
    name->clear();
    QApplication::clipboard()->setText(QStringLiteral("0123456789ABCDEF"));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(name->text().size(), 12);
    QCOMPARE(name->text(), QStringLiteral("0123456789AB"));
}

void TestMainWindow::statusTextWraps()
{
    StatusTextBox &status = m_form->statusBox();
    status.setStatusColour(StatusColour::Red);
    status.setStatusText(QStringLiteral("STARTING COMMUNICATIONS TO WRITE SWITCH PANEL CONFIGURATION"));
    status.showStatus();
    QVERIFY(status.isVisible());
    QCoreApplication::processEvents();
    const QTextLayout *layout = status.document()->firstBlock().layout();
    QVERIFY(layout->lineCount() >= 2);
    // Every line stays in sight: nothing runs out to the right or below.
    QVERIFY(status.document()->size().width() <= status.viewport()->width());
    const QRectF block = status.document()->documentLayout()->blockBoundingRect(status.document()->firstBlock());
    QVERIFY2(block.bottom() <= status.viewport()->height(), qPrintable(QStringLiteral("%1 lines end at %2, box %3")
                                                                           .arg(layout->lineCount())
                                                                           .arg(block.bottom())
                                                                           .arg(status.viewport()->height())));
    QVERIFY(!status.verticalScrollBar()->isVisible());
    QCOMPARE(status.background(), QColor(255, 0, 0));
    status.setStatusColour(StatusColour::Yellow);
    QCOMPARE(status.background(), QColor(255, 255, 0));
    status.setStatusColour(StatusColour::Green);
    QCOMPARE(status.background(), QColor(0, 255, 0));
    status.hideStatus();
    QVERIFY(!status.isVisible());
}

void TestMainWindow::clickRunsHandlerEvenOnSelectedEntry()
{
    auto *designation = control(QStringLiteral("Text3"));
    click(list(1), 3); // "C"
    click(list(2), 3); // "4"
    QCOMPARE(m_form->state().sw[0].s, 23);
    designation->hide();
    click(list(2), 3); // the entry already selected
    QVERIFY(designation->isVisible());
    QCOMPARE(list(2)->selectedPosition(), 3);
}

void TestMainWindow::codeSetRunsHandlerEvenAtSamePosition()
{
    m_form->selectModulePosition(0, 3);
    m_form->selectChannelPosition(0, 3);
    auto *designation = control(QStringLiteral("Text3"));
    designation->hide();
    m_form->selectChannelPosition(0, 3);
    QVERIFY(designation->isVisible()); // the handler ran before the setter returned
    m_form->state().sw[0].s = 0;
    m_form->selectModulePosition(0, 3);
    QCOMPARE(m_form->state().sw[0].s, 23);
}

void TestMainWindow::keyboardNavigationSelects()
{
    SelectionList *module = list(5);
    module->setFocus();
    QCOMPARE(module->selectedPosition(), -1);
    QTest::keyClick(module, Qt::Key_Down);
    QCOMPARE(module->selectedPosition(), 0);
    QVERIFY(!list(6)->isVisible()); // "N/A" hides the channel list
    QTest::keyClick(module, Qt::Key_Down);
    QCOMPARE(module->selectedPosition(), 1);
    QVERIFY(list(6)->isVisible());
    QTest::keyClick(module, Qt::Key_Space, Qt::ControlModifier); // a toggle would deselect
    QCOMPARE(module->selectedPosition(), 1);
}

void TestMainWindow::ctrlClickKeepsTheSelection()
{
    click(list(7), 17);
    QCOMPARE(list(7)->selectedPosition(), 17);
    click(list(7), 17, Qt::ControlModifier);
    QCOMPARE(list(7)->selectedPosition(), 17);
    QCOMPARE(m_form->state().sw[3].s, 159);
    QVERIFY(!list(8)->isVisible());
}

void TestMainWindow::moduleChannelRoundTripThroughTheWindow()
{
    auto *designation = control(QStringLiteral("Text3"));
    click(list(1), 3); // C
    click(list(2), 3); // 4
    click(list(1), 0); // N/A
    QVERIFY(!list(2)->isVisible());
    QCOMPARE(m_form->state().sw[0].s, 160);
    designation->hide();
    click(list(1), 3); // C again: channel "4" still there, no channel click needed
    QVERIFY(list(2)->isVisible());
    QCOMPARE(list(2)->selectedPosition(), 3);
    QCOMPARE(m_form->state().sw[0].s, 23);
    QVERIFY(!designation->isVisible()); // a module click never shows it
    for (int i = 1; i < kSwitchCount; ++i)
        m_form->selectModulePosition(i, 0);
    WorkingState &s = m_form->state();
    s.error_flag = 0;
    CollectSwitchCodes(s, listPositionsOf(*m_form));
    QCOMPARE(s.error_flag, 0);
    QCOMPARE(s.sw[0].w, 23);
    click(list(2), 3);
    QVERIFY(designation->isVisible()); // a channel click does
}

void TestMainWindow::noChannelPositionClearsTheList()
{
    m_form->selectModulePosition(2, 4);
    m_form->selectChannelPosition(2, 6);
    QCOMPARE(m_form->state().sw[2].s, 36);
    m_form->selectModulePosition(2, 1);
    m_form->selectChannelPosition(2, -5); // what a negative code decodes to
    QCOMPARE(list(6)->selectedPosition(), -1);
    QVERIFY(list(6)->isVisible());
    QCOMPARE(m_form->state().sw[2].c, 6);
    WorkingState &s = m_form->state();
    s.error_flag = 0;
    CollectSwitchCodes(s, listPositionsOf(*m_form));
    QCOMPARE(s.error_flag, 1); // the lists show an incomplete switch, and it counts as one
}

void TestMainWindow::unsavedEditsAskBeforeClosing()
{
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("RIG.kdc"));
    struct Case {
        const char *name;
        std::function<void(MainWindow &)> edit;
        FileDialogs::CloseAnswer answer;
        bool saveChosen;
        bool closes, asked, written;
    };
    const auto chooseAndType = [&](MainWindow &w) {
        clickNotAssigned(w);
        typeName(w);
    };
    using A = FileDialogs::CloseAnswer;
    const Case cases[] = {
        {"nothing edited", [](MainWindow &) {}, A::Cancel, false, true, false, false},
        {"set from code only",
         [](MainWindow &w) {
             w.selectModulePosition(0, 3);
             w.setPanelNameText(QStringLiteral("X"));
         },
         A::Cancel, false, true, false, false},
        {"typed, cancel", typeName, A::Cancel, false, false, true, false},
        {"typed, discard", typeName, A::Discard, false, true, true, false},
        {"chosen and typed, save", chooseAndType, A::Save, true, true, true, true},
        {"save refused (incomplete)", typeName, A::Save, true, false, true, false},
        {"save dialog cancelled", chooseAndType, A::Save, false, false, true, false},
    };
    for (const Case &c : cases) {
        QFile::remove(saved);
        MainWindow window;
        ClosingDialogs *answered = giveDialogs<ClosingDialogs>(window);
        answered->closeAnswer = c.answer;
        if (c.saveChosen)
            answered->saveAs = saved;
        window.show();
        c.edit(window);
        QCOMPARE(window.windowTitle().contains(QStringLiteral("[*]")), c.asked);
        window.close();
        QVERIFY2(window.isVisible() != c.closes, c.name);
        QVERIFY2((answered->questions == 1) == c.asked, c.name);
        QVERIFY2(QFile::exists(saved) == c.written, c.name);
    }

    // A read from the panel is no edit.
    sim::PtyPanel panel;
    MainWindow window(panel.devicePath());
    ClosingDialogs *answered = giveDialogs<ClosingDialogs>(window);
    window.show();
    clickButton(&window, "READ_CONFIG");
    QVERIFY(!window.isWindowModified());
    QCOMPARE(answered->questions, 0);
}

void TestMainWindow::unsavedEditsAskBeforeAReadOrDuringAWrite()
{
    sim::PtyPanel panel;
    MainWindow window(panel.devicePath());
    ClosingDialogs *answered = giveDialogs<ClosingDialogs>(window);
    window.show();

    // A read would empty typed work: it asks first, and Cancel sends nothing.
    typeName(window);
    panel.clearLog();
    clickButton(&window, "READ_CONFIG");
    QCOMPARE(answered->questions, 1);
    QVERIFY(panel.received().isEmpty());
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), QStringLiteral("RIG"));

    // Closed during a write, the edits still get the question; Cancel lets the write finish.
    window.findChild<QPushButton *>(QStringLiteral("WRITE_CONFIG"))->click();
    QCOMPARE(answered->questions, 1); // incomplete switches: refused at once
    clickNotAssigned(window);
    bool closedWhileWriting = false;
    connect(&panel, &sim::PtyPanel::commandReceived, &window, [&](const QByteArray &bytes) {
        if (!closedWhileWriting && bytes.startsWith('S')) {
            closedWhileWriting = true;
            window.close();
        }
    });
    clickButton(&window, "WRITE_CONFIG");
    QVERIFY(closedWhileWriting);
    QCOMPARE(answered->questions, 2);
    QVERIFY(window.isVisible());
    QCOMPARE(window.statusBox().toPlainText(), QStringLiteral("SWITCH PANEL HAS BEEN PROGRAMMED"));
}

void TestMainWindow::everyControlHasAnAccessibleName()
{
    const auto nameOf = [](QWidget *w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    for (int n = 1; n <= 20; ++n)
        QCOMPARE(nameOf(list(n)), list(n)->toolTip());
    QCOMPARE(nameOf(list(15)), QStringLiteral("SW8 MODULE ASSIGNMENT"));
    // A designation box is named by its tool tip, which a screen reader is not told twice.
    for (int n = 3; n <= 12; ++n) {
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(control(QStringLiteral("Text%1").arg(n)));
        QCOMPARE(box->text(QAccessible::Name), shownToolTip(control(QStringLiteral("Text%1").arg(n))));
        QVERIFY(box->text(QAccessible::Description).isEmpty());
    }
    // The window is a frame named by its title as shown, the status box a status bar
    // that is there (hidden) from the start, the port chooser a combo box named by its
    // caption whose value is the port.
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_form);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), m_form->windowTitle());
    QAccessibleInterface *status = QAccessible::queryAccessibleInterface(control(QStringLiteral("Text1")));
    QCOMPARE(status->role(), QAccessible::StatusBar);
    QCOMPARE(status->text(QAccessible::Name), QStringLiteral("STATUS"));
    QVERIFY(status->state().invisible);
    QAccessibleInterface *chooser = QAccessible::queryAccessibleInterface(control(QStringLiteral("SERIAL_PORT")));
    QCOMPARE(chooser->role(), QAccessible::ComboBox);
    QCOMPARE(chooser->text(QAccessible::Name), QStringLiteral("SERIAL PORT"));
    QCOMPARE(chooser->text(QAccessible::Value), control<PortChooser>(QStringLiteral("SERIAL_PORT"))->currentText());
    QCOMPARE(chooser->childCount(), 2);
    QCOMPARE(chooser->indexOfChild(chooser->child(1)), 1);
    QCOMPARE(chooser->child(0)->text(QAccessible::Name), QStringLiteral("SERIAL PORT LIST"));
    QCOMPARE(chooser->child(1)->text(QAccessible::Name), QStringLiteral("SERIAL PORT"));
    // The boxes under a caption are called what the caption says; the tool tip describes them.
    for (const auto &[box, caption] : {std::pair{"Text2", "PANEL NAME"}, std::pair{"SERIAL_PORT", "SERIAL PORT"}}) {
        QCOMPARE(control(QLatin1String(box))->accessibleName(), QLatin1String(caption));
        QCOMPARE(QAccessible::queryAccessibleInterface(control(QLatin1String(box)))->text(QAccessible::Description),
                 control(QLatin1String(box))->toolTip());
    }
    QCOMPARE(nameOf(control(QStringLiteral("Text2"))), QStringLiteral("PANEL NAME"));
    QCOMPARE(control<QLabel>(QStringLiteral("Label15"))->buddy(), control(QStringLiteral("SERIAL_PORT")));
    QVERIFY(!nameOf(control(QStringLiteral("Image1"))).isEmpty());
    for (const char *button : {"READ_CONFIG", "WRITE_CONFIG", "READ_FILE", "WRITE_FILE"})
        QCOMPARE(nameOf(control(QLatin1String(button))), control<QPushButton>(QLatin1String(button))->text());

    // The status bar's text is what the box shows; the window's name carries the mark
    // of unsaved edits as its title does.
    m_form->statusBox().setStatusText(QStringLiteral("COMMUNICATIONS OK"));
    QAccessibleTextInterface *statusText = status->textInterface();
    QCOMPARE(statusText->text(0, statusText->characterCount()), QStringLiteral("COMMUNICATIONS OK"));
    QCOMPARE(statusText->text(15, 99), QStringLiteral("OK"));
    QTest::keyClicks(control(QStringLiteral("Text2")), QStringLiteral("X"));
    QVERIFY(window->text(QAccessible::Name)
                .startsWith(QStringLiteral("RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM*")));

    // Return presses the focused command button.
    CountingDialogs *counted = giveDialogs<CountingDialogs>(*m_form);
    control(QStringLiteral("READ_FILE"))->setFocus();
    QTest::keyClick(control(QStringLiteral("READ_FILE")), Qt::Key_Return);
    QCOMPARE(counted->asked, 1);

    // A list with the keyboard focus shows it.
    const QImage before = list(5)->grab().toImage();
    list(5)->setFocus();
    QVERIFY(list(5)->grab().toImage() != before);
}

void TestMainWindow::listsShowThreeRowsAndAThumb()
{
    const QImage shot = m_form->grab().toImage();
    const QColor face(96, 94, 93);
    for (int n = 1; n <= 20; ++n) {
        SelectionList *l = list(n);
        // Three whole rows, and nothing of a fourth.
        const QRect viewport = l->viewport()->geometry();
        for (int row = 0; row < 3; ++row)
            QVERIFY(l->viewport()->rect().contains(l->visualItemRect(l->item(row))));
        QVERIFY(!l->viewport()->rect().intersects(l->visualItemRect(l->item(3))));
        QVERIFY(viewport.height() >= 3 * l->fontMetrics().height());
        // Inside its frame the list is its own: the picture shows nowhere.
        const QRect inside =
            l->geometry().adjusted(l->frameWidth(), l->frameWidth(), -l->frameWidth(), -l->frameWidth());
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x <= inside.right(); ++x)
                QVERIFY2(shot.pixelColor(x, y) != face,
                         qPrintable(QStringLiteral("%1 at %2,%3").arg(l->objectName()).arg(x).arg(y)));
        // The scroll bar has a thumb, shorter than its groove.
        QScrollBar *bar = l->verticalScrollBar();
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.subControls = QStyle::SC_All;
        option.orientation = Qt::Vertical;
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        const QRect groove =
            bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);
        const QRect thumb =
            bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
        QVERIFY2(thumb.height() >= 5 && thumb.height() < groove.height() && groove.contains(thumb),
                 qPrintable(l->objectName()));
    }
}

void TestMainWindow::commandsDuringAReadAreIgnored()
{
    sim::PtyPanel panel;
    MainWindow window(panel.devicePath());
    CountingDialogs *counted = giveDialogs<CountingDialogs>(window);
    window.show();
    int nestedClicks = 0;
    QTimer::singleShot(350, this, [&] {
        ++nestedClicks;
        for (const char *button : {"READ_CONFIG", "WRITE_CONFIG", "READ_FILE", "WRITE_FILE"})
            clickButton(&window, button);
    });
    clickButton(&window, "READ_CONFIG");
    QCOMPARE(nestedClicks, 1);
    QCOMPARE(window.statusBox().toPlainText(), QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL"));
    QCOMPARE(panel.commands().size(), 11); // one handshake and ten reads, nothing else
    QCOMPARE(counted->asked, 0);

    // A channel click shows the emptied designation box again; a module click does not.
    auto *module = window.findChild<SelectionList *>(QStringLiteral("List1"));
    auto *channel = window.findChild<SelectionList *>(QStringLiteral("List2"));
    auto *box = window.findChild<QLineEdit *>(QStringLiteral("Text3"));
    QTest::mouseClick(module->viewport(), Qt::LeftButton, {}, module->visualItemRect(module->item(1)).center());
    QVERIFY(!box->isVisible());
    QTest::mouseClick(channel->viewport(), Qt::LeftButton, {}, channel->visualItemRect(channel->item(0)).center());
    QVERIFY(box->isVisible());
}

void TestMainWindow::portChooserChoosesAndRemembers()
{
    auto *chooser = control<PortChooser>(QStringLiteral("SERIAL_PORT"));
    QCOMPARE(chooser->geometry(), QRect(16, 305, 161, 22));
    QCOMPARE(control(QStringLiteral("Label15"))->geometry(), QRect(16, 288, 161, 17));
    QCOMPARE(control<QLabel>(QStringLiteral("Label15"))->text(), QStringLiteral("SERIAL PORT"));
    QCOMPARE(chooser->toolTip(), QStringLiteral("SERIAL PORT CONNECTED TO THE SWITCH PANEL"));
    QCOMPARE(control(QStringLiteral("Text2"))->nextInFocusChain(), chooser);
    QCOMPARE(chooser->currentText(), PanelPort::defaultDevice()); // nothing remembered yet

    // The list: port 1 first, then what the system reports, found when it opens.
    chooser->setPortLister([] {
        return QList<SerialPortDescription>{{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"),
                                             QStringLiteral("FTDI"), QStringLiteral("A50285BI"), 0x0403, 0x6001}};
    });
    chooser->showPopup();
    QCOMPARE(chooser->count(), 3);
    QCOMPARE(chooser->itemText(0), PanelPort::defaultDevice());
    QCOMPARE(chooser->itemText(1), QStringLiteral("/dev/ttyUSB0 \u2014 FT232R USB UART (FTDI, A50285BI)"));
    QCOMPARE(chooser->itemText(2), QStringLiteral("FIND THE SWITCH PANEL"));
    chooser->hidePopup();

    // Port 1 is of no use here; a panel hangs on another port, typed in by its path.
    sim::PtyPanel panel;
    panel.panel().setCode(0, 42);
    chooser->lineEdit()->selectAll();
    QTest::keyClicks(chooser->lineEdit(), panel.devicePath());
    QTest::keyClick(chooser->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_form->session().device(), panel.devicePath());
    clickButton(m_form, "READ_CONFIG");
    QCOMPARE(m_form->statusBox().toPlainText(), QStringLiteral("SWITCH PANEL DATA READ SUCCESSFUL"));
    QCOMPARE(m_form->modulePosition(0), 5);

    // Remembered at once: the next start uses it; a device given for one run is not remembered.
    {
        MainWindow restarted;
        QCOMPARE(restarted.session().device(), panel.devicePath());
        QCOMPARE(restarted.findChild<PortChooser *>()->currentText(), panel.devicePath());
    }
    {
        MainWindow forThisRun(QStringLiteral("/dev/ttyUSB7"));
        QCOMPARE(forThisRun.session().device(), QStringLiteral("/dev/ttyUSB7"));
    }
    QCOMPARE(MainWindow().session().device(), panel.devicePath());

    // The settings file is rewritten only when a setting changes.
    const auto written = [file = QFile::encodeName(QSettings().fileName())] {
        struct stat info {};
        return ::stat(file.constData(), &info) == 0 ? qint64(info.st_ino) : -1;
    };
    const qint64 before = written();
    Preferences::rememberPort(panel.devicePath());
    QVERIFY(before >= 0 && written() == before);
    Preferences::rememberPort(QStringLiteral("/dev/ttyUSB9"));
    QVERIFY(written() != before);

    // A remembered name that no port has (control or invisible characters put there
    // by hand) is no choice: port 1.
    for (const QString &broken : {QStringLiteral("COM\x01"
                                                 "5"),
                                  QStringLiteral("/dev/tty\u202eUSB0")}) {
        Preferences::rememberPort(broken);
        QCOMPARE(MainWindow().session().device(), PanelPort::defaultDevice());
    }
}

void TestMainWindow::portFailuresFitTheStatusBox()
{
    // The longest texts, with a device under /dev/serial/by-id, stay within three lines.
    StatusTextBox &status = m_form->statusBox();
    status.showStatus();
    const QString longDevice = QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    for (const QString &reason : {StatusTexts::kPortInUse, StatusTexts::kPortPermissionDenied,
                                  StatusTexts::kPortMissing, StatusTexts::kPortNotSerial}) {
        for (const QString &device : {QStringLiteral("/dev/ttyUSB0"), shortDeviceName(longDevice)}) {
            status.setStatusText(StatusTexts::portNotOpened(device, reason));
            QCoreApplication::processEvents();
            QVERIFY2(status.document()->firstBlock().layout()->lineCount() <= 3, qPrintable(status.toPlainText()));
            QVERIFY(status.document()->size().width() <= status.viewport()->width());
        }
    }
}

void TestMainWindow::failedSwitchCaptionTurnsRed()
{
    sim::PanelFaults faults;
    faults.readReplyAt.insert(3, "01700");
    sim::PtyPanel panel(faults);
    MainWindow window(panel.devicePath());
    window.show();
    const auto captionColour = [&](int n) {
        return window.findChild<QLabel *>(QLatin1String(kCaptionNames[n - 1]))->palette().color(QPalette::WindowText);
    };
    const auto said = [&](int n) {
        return QAccessible::queryAccessibleInterface(window.findChild<QLabel *>(QLatin1String(kCaptionNames[n - 1])))
            ->text(QAccessible::Description);
    };
    clickButton(&window, "READ_CONFIG");
    QCOMPARE(captionColour(4), QColor(255, 0, 0));
    QCOMPARE(said(4), QStringLiteral("STOPPED HERE"));
    for (int n : {1, 3, 5, 10}) {
        QCOMPARE(captionColour(n), QColor(Qt::white));
        QCOMPARE(said(n), QString());
    }

    // The next command clears it; a write refused at an incomplete SW2 marks SW2.
    for (int i = 0; i < kSwitchCount; ++i)
        window.selectModulePosition(i, i == 1 ? 5 : 0);
    window.selectChannelPosition(1, -1);
    clickButton(&window, "WRITE_CONFIG");
    QCOMPARE(captionColour(4), QColor(Qt::white));
    QCOMPARE(said(4), QString());
    QCOMPARE(captionColour(2), QColor(255, 0, 0));
}

void TestMainWindow::closingTheWindowEndsTheWait()
{
    sim::PanelFaults silent;
    silent.silent = true;
    sim::PtyPanel panel(silent);
    MainWindow window(panel.devicePath());
    window.show();
    QTimer::singleShot(250, &window, &QWidget::close);
    QElapsedTimer clock;
    clock.start();
    clickButton(&window, "READ_CONFIG");
    QVERIFY2(clock.elapsed() < 250 + 150, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!window.isVisible());
    QVERIFY(!window.session().port().isOpen());
    QVERIFY(!window.operationRunning());
}

void TestMainWindow::closingDuringAWriteSendsNothingMore()
{
    sim::PtyPanel panel;
    MainWindow window(panel.devicePath());
    window.show();
    for (int i = 0; i < kSwitchCount; ++i)
        window.selectModulePosition(i, 0);
    qsizetype sentWhenClosed = -1;
    // Closed during the pause before a write step.
    connect(&panel, &sim::PtyPanel::replied, &window, [&](const QByteArray &reply) {
        if (sentWhenClosed < 0 && panel.countOf(PanelProtocol::readCommand(3)) == 1 && reply != "D000D") {
            sentWhenClosed = panel.commands().size();
            QTimer::singleShot(30, &window, &QWidget::close);
        }
    });
    clickButton(&window, "WRITE_CONFIG");
    QVERIFY(sentWhenClosed > 0);
    QSignalSpy more(&panel, &sim::PtyPanel::commandReceived);
    QVERIFY(!more.wait(300));
    QCOMPARE(panel.commands().size(), sentWhenClosed);
    QVERIFY(!window.session().port().isOpen());
}

void TestMainWindow::serviceKitCommands()
{
    // In the window's context menu, each with its shortcut, named as shown.
    QCOMPARE(m_form->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction *> items = m_form->actions();
    const QList<std::pair<QString, QKeySequence>> expected{
        {ServiceMenu::kSaveSheet, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {ServiceMenu::kSaveTrace, QKeySequence(Qt::CTRL | Qt::Key_T)},
        {ServiceMenu::kFindPanel, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {ServiceMenu::kAbout, QKeySequence(Qt::Key_F1)}};
    QCOMPARE(items.size(), expected.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        QCOMPARE(std::pair(items[i]->text(), items[i]->shortcut()), expected[i]);
    ClosingDialogs *dialogs = giveDialogs<ClosingDialogs>(*m_form);
    QTemporaryDir dir;
    const auto textOf = [](const QString &pdf) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        text.waitForFinished(10000);
        // Everything but the time it was made.
        return QString::fromUtf8(text.readAllStandardOutput())
            .remove(QRegularExpression(QStringLiteral("MADE +\\S+ \\S+")));
    };

    // A sheet of incomplete switches is refused as a save is.
    dialogs->saveAs = dir.filePath(QStringLiteral("refused.pdf"));
    items[0]->trigger();
    QCOMPARE(m_form->statusBox().toPlainText(), StatusTexts::kIncomplete);
    QVERIFY(!QFile::exists(*dialogs->saveAs));
    // The sheet of an opened file is the one kdr-panel makes of it.
    QFile file(dir.filePath(QStringLiteral("sample.kdc")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\"COACH\",\"PORCH LIGHT\",13,\"AWNING\",160,\"PUMP\",159,\"STEP\",0,\"\",25,\"HEATER\",99,\"\",150,"
               "\"FAN\",42,\"TV\",7,\"\",158,159\r\n");
    file.close();
    m_form->openFile(file.fileName());
    dialogs->saveAs = dir.filePath(QStringLiteral("window.pdf"));
    items[0]->trigger();
    QProcess sheet;
    sheet.start(QStringLiteral(KDR_BIN_DIR "/kdr-panel"),
                {QStringLiteral("sheet"), file.fileName(), QStringLiteral("--output"),
                 dir.filePath(QStringLiteral("cli.pdf"))});
    QVERIFY(sheet.waitForFinished(10000));
    QVERIFY(textOf(*dialogs->saveAs).contains(QStringLiteral("PORCH LIGHT")));
    QCOMPARE(textOf(*dialogs->saveAs), textOf(dir.filePath(QStringLiteral("cli.pdf"))));

    // The wire trace of a read holds the frames kdr-panel read --trace sends.
    sim::PtyPanel panel({}, dir.filePath(QStringLiteral("panel")));
    m_form->session().setDevice(panel.devicePath());
    bool availableMeanwhile = true;
    connect(&panel, &sim::PtyPanel::commandReceived, this, [&] { availableMeanwhile &= items[0]->isEnabled(); });
    clickButton(m_form, "READ_CONFIG");
    QCOMPARE(m_form->statusBox().toPlainText(), StatusTexts::kReadSuccessful);
    QVERIFY(!availableMeanwhile && items[0]->isEnabled()); // none during an operation
    dialogs->saveAs = dir.filePath(QStringLiteral("trace.txt"));
    items[1]->trigger();
    QFile trace(*dialogs->saveAs);
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const QString saved = QString::fromUtf8(trace.readAll());
    QVERIFY(saved.startsWith(QStringLiteral("KDR switch panel tool " KDR_VERSION ", wire trace\n")));
    QVERIFY(saved.contains(QStringLiteral("Port: ") + panel.devicePath()));
    const auto frames = [](const QString &text) {
        QStringList sent;
        for (const QString &line : text.split(QLatin1Char('\n')))
            if (line.startsWith(QStringLiteral("kdr.link: ")) && line.contains(QStringLiteral(" -> ")))
                sent << line.section(QStringLiteral(" -> "), 1);
        return sent;
    };
    QProcess read;
    read.start(QStringLiteral(KDR_BIN_DIR "/kdr-panel"),
               {QStringLiteral("read"), QStringLiteral("--port"), panel.devicePath(), QStringLiteral("--trace")});
    QTRY_COMPARE_WITH_TIMEOUT(read.state(), QProcess::NotRunning, 10000);
    QCOMPARE(frames(saved).size(), 11);
    QCOMPARE(frames(saved), frames(QString::fromUtf8(read.readAllStandardError())));

    // Finding the panel: the system's ports greeted at once, the panel's chosen and
    // remembered; the next read goes there.
    sim::PanelFaults silent;
    silent.silent = true;
    sim::PtyPanel mute(silent, dir.filePath(QStringLiteral("mute")));
    control<PortChooser>(QStringLiteral("SERIAL_PORT"))->setPortLister([&] {
        return QList<SerialPortDescription>{{mute.devicePath(), {}, {}, {}, {}, {}},
                                            {panel.devicePath(), {}, {}, {}, {}, {}}};
    });
    m_form->session().setDevice(mute.devicePath());
    items[2]->trigger();
    QCOMPARE(m_form->statusBox().toPlainText(), StatusTexts::kSearching);
    QVERIFY(!items[0]->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(m_form->statusBox().toPlainText(),
                              StatusTexts::panelFoundOn(shortDeviceName(panel.devicePath())), 3000);
    QCOMPARE(m_form->session().device(), panel.devicePath());
    QCOMPARE(Preferences::rememberedPort(), panel.devicePath());
    QVERIFY(items[0]->isEnabled());
    clickButton(m_form, "READ_CONFIG");
    QCOMPARE(m_form->statusBox().toPlainText(), StatusTexts::kReadSuccessful);
}

void TestMainWindow::closingTheWindowEndsTheProgram()
{
    // What main() does, with a read under way when the window is closed; it must be
    // the last window for the program to end.
    delete m_form;
    m_form = nullptr;
    sim::PanelFaults late;
    late.replyDelay = std::chrono::milliseconds(60);
    sim::PtyPanel panel(late);
    MainWindow window(panel.devicePath());
    window.show();
    QTimer::singleShot(0, this, [&] { clickButton(&window, "READ_CONFIG"); });
    QTimer::singleShot(400, &window, &QWidget::close);
    QElapsedTimer clock;
    clock.start();
    const int status = QApplication::exec();
    QCOMPARE(status, 0);
    QVERIFY2(clock.elapsed() < 400 + 200, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!window.session().port().isOpen());
    QVERIFY(!window.operationRunning());
    QCOMPARE(window.statusBox().background(), QColor(255, 0, 0));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
