// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "AccessibleInterfaces.h"
#include "CalloutShapes.h"
#include "ControlTable.h"
#include "DesignationBox.h"
#include "PanelArt.h"
#include "PortChooser.h"
#include "Preferences.h"
#include "SelectionList.h"
#include "StatusTextBox.h"
#include "WindowFonts.h"
#include "WrappingButton.h"

#include "QtFileDialogs.h"
#include "StorableTextValidator.h"

#include "files/FileCommands.h"
#include "files/FileDialogs.h"
#include "link/PanelPort.h"
#include "model/SwitchSelection.h"
#include "operations/PanelSession.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

#include <map>

namespace kdr {

namespace {

const QString kTitle = QStringLiteral("RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM");

// System colour 11, the inactive window border of the standard Windows scheme.
const QColor kWindowBackground(212, 208, 200);
// System colour 14 over the dark picture; the red of a failure for the switch where
// a command stopped.
const QColor kCaptionColour(Qt::white);
const QColor kFailedCaptionColour(255, 0, 0);

void setCaptionColour(QLabel *caption, const QColor &colour)
{
    QPalette p = caption->palette();
    p.setColor(QPalette::WindowText, colour);
    caption->setPalette(p);
}

// Text boxes lay out their text, in a font, as they are made.
bool laysOutTextWhenMade(ControlKind kind)
{
    return kind == ControlKind::DesignationBox || kind == ControlKind::NameBox || kind == ControlKind::PortChooser;
}

} // namespace

MainWindow::MainWindow(const QString &serialDevice, QWidget *parent) : QWidget(parent)
{
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle);
    setWindowIcon(programIcon(IconKind::Tool));
    setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
    QPalette p = palette();
    p.setColor(QPalette::Window, kWindowBackground);
    setPalette(p);
    setAutoFillBackground(true);
    buildControls();
    QString device = serialDevice.isEmpty() ? Preferences::rememberedPort() : serialDevice;
    if (device.isEmpty())
        device = PanelPort::defaultDevice();
    m_session = std::make_unique<PanelSession>(device, *this, *m_statusBox);
    m_portChooser->showChosen(device);
    setFileDialogs(std::make_unique<QtFileDialogs>(this));
}

void MainWindow::setTitleSuffix(const QString &suffix)
{
    m_titleSuffix = suffix;
    updateTitle(isWindowModified());
}

void MainWindow::updateTitle(bool modified)
{
    // Until a file is used or something is edited, exactly the program's own title.
    const QString file = windowFilePath();
    QString title = kTitle;
    if (!file.isEmpty())
        title = QFileInfo(file).fileName() + QStringLiteral("[*] - ") + kTitle;
    else if (modified)
        title += QStringLiteral("[*]");
    setWindowTitle(title + m_titleSuffix);
}

void MainWindow::edited()
{
    if (isWindowModified())
        return;
    // The mark needs its place in the title before it is set.
    updateTitle(true);
    setWindowModified(true);
}

void MainWindow::fileUsed(const QString &path)
{
    setWindowFilePath(path);
    setWindowModified(false);
    updateTitle(false);
    Preferences::rememberFileFolder(QFileInfo(path).absolutePath());
}

void MainWindow::fixPort()
{
    m_portFixed = true;
    m_portChooser->setEnabled(false);
}

void MainWindow::openFile(const QString &path)
{
    if (operationRunning())
        return;
    opened(m_files->openFile(path));
}

void MainWindow::choosePort(const QString &device)
{
    // Like the command buttons, the chooser takes nothing while the panel is busy.
    if (operationRunning() || m_portFixed) {
        m_portChooser->showChosen(m_session->device());
        return;
    }
    m_session->setDevice(device);
    Preferences::rememberPort(device);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Wheel:
        if (operationRunning())
            return true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
{
    m_dialogs = std::move(dialogs);
    m_files = std::make_unique<FileCommands>(state(), *this, *m_statusBox, *m_dialogs);
    m_files->setStartFolder(Preferences::fileFolder());
}

MainWindow::~MainWindow() = default;

WorkingState &MainWindow::state()
{
    return m_session->state();
}

QWidget *MainWindow::createControl(const ControlSpec &entry)
{
    QWidget *widget = nullptr;
    switch (entry.kind) {
    case ControlKind::Picture:
        widget = new PanelPicture(this);
        widget->setAccessibleName(QStringLiteral("PICTURE OF THE SWITCH PANEL"));
        break;
    case ControlKind::Caption: {
        auto *caption = new QLabel(entry.text, this);
        m_groups[entry.switchIndex].caption = caption;
        setCaptionColour(caption, kCaptionColour);
        widget = caption;
        break;
    }
    case ControlKind::Label:
    case ControlKind::Title:
    case ControlKind::Heading: {
        auto *label = new QLabel(entry.text, this);
        label->setWordWrap(true);
        if (entry.kind != ControlKind::Label)
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        // The name heading stands over the dark picture: give it its own background.
        label->setAutoFillBackground(entry.kind == ControlKind::Heading);
        if (entry.kind == ControlKind::Title) {
            QPalette p = label->palette();
            p.setColor(QPalette::WindowText, QColor(0, 0, 255));
            label->setPalette(p);
        }
        widget = label;
        break;
    }
    case ControlKind::Line: {
        const QRect r = entry.pixelRect();
        widget = new CalloutLine(r.topLeft(), QPoint(r.left() + r.width(), r.top()), this);
        break;
    }
    case ControlKind::Shape:
        widget = new MarkerShape(this);
        break;
    case ControlKind::ModuleList:
    case ControlKind::ChannelList: {
        auto *list = new SelectionList(this);
        list->setFrameShape(QFrame::Box);
        list->setLineWidth(1);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        const int i = entry.switchIndex;
        const bool isModule = entry.kind == ControlKind::ModuleList;
        const auto fill = [list](const auto &entries) {
            for (const ListEntry &item : entries)
                list->addEntry(QString::fromLatin1(item.text), item.itemValue);
        };
        if (isModule)
            fill(kModuleList);
        else
            fill(kChannelList);
        list->setSelectionHandler([this, i, isModule] { isModule ? ModuleList_Click(i) : ChannelList_Click(i); });
        connect(list, &SelectionList::chosenByUser, this, &MainWindow::edited);
        (isModule ? m_groups[i].moduleList : m_groups[i].channelList) = list;
        widget = list;
        break;
    }
    case ControlKind::DesignationBox: {
        auto *box = new DesignationBox(entry.text, this);
        connect(box, &QLineEdit::textEdited, this, &MainWindow::edited);
        m_groups[entry.switchIndex].designation = box;
        widget = box;
        break;
    }
    case ControlKind::NameBox:
        m_panelName = new QLineEdit(this);
        m_panelName->setMaxLength(kPanelNameMaxLength);
        m_panelName->setValidator(new StorableTextValidator(m_panelName));
        connect(m_panelName, &QLineEdit::textEdited, this, &MainWindow::edited);
        widget = m_panelName;
        break;
    case ControlKind::PortChooser:
        m_portChooser = new PortChooser(this);
        m_portChooser->installEventFilter(this);
        m_portChooser->lineEdit()->installEventFilter(this);
        connect(m_portChooser, &PortChooser::portChosen, this, &MainWindow::choosePort);
        widget = m_portChooser;
        break;
    case ControlKind::StatusBox:
        // There from the start, for assistive tools too, and shown when an operation reports.
        m_statusBox = new StatusTextBox(this);
        m_statusBox->hide();
        widget = m_statusBox;
        break;
    case ControlKind::Button: {
        static const std::map<QString, void (MainWindow::*)()> commands{
            {QStringLiteral("READ_CONFIG"), &MainWindow::READ_CONFIG_Click},
            {QStringLiteral("WRITE_CONFIG"), &MainWindow::WRITE_CONFIG_Click},
            {QStringLiteral("READ_FILE"), &MainWindow::READ_FILE_Click},
            {QStringLiteral("WRITE_FILE"), &MainWindow::WRITE_FILE_Click},
        };
        auto *button = new WrappingButton(entry.text, this);
        button->setAutoDefault(false);
        connectCommand(button, commands.at(entry.name));
        if (entry.name == QLatin1String("READ_CONFIG"))
            m_readConfig = button;
        widget = button;
        break;
    }
    }
    return widget;
}

void MainWindow::placeControl(const ControlSpec &entry, QWidget *widget)
{
    widget->setObjectName(entry.name);
    if (entry.kind != ControlKind::Line)
        widget->setGeometry(entry.pixelRect());
    widget->setFont(windowFont(entry.font));
    // The title's height follows its wrapped text.
    if (entry.kind == ControlKind::Title)
        widget->resize(widget->width(), widget->heightForWidth(widget->width()));
    // What a screen reader calls a list or a box is what its tool tip says it is; a
    // button is called by its caption, with the tool tip as its description.
    if (entry.kind == ControlKind::DesignationBox) {
        static_cast<DesignationBox *>(widget)->setNamingToolTip(entry.toolTip);
    } else if (!entry.toolTip.isEmpty()) {
        widget->setToolTip(entry.toolTip);
        if (entry.kind != ControlKind::Button)
            widget->setAccessibleName(entry.toolTip);
    }
    if (entry.tab == kNoTab)
        widget->setFocusPolicy(Qt::NoFocus);
    else
        m_focusOrder[entry.tab] = widget;
    widget->raise();
}

void MainWindow::buildControls()
{
    FontListLoader fonts;
    const std::vector<ControlSpec> &table = controlTable();
    std::vector<QWidget *> made(table.size(), nullptr);
    for (size_t i = 0; i < table.size(); ++i)
        if (!laysOutTextWhenMade(table[i].kind))
            made[i] = createControl(table[i]);

    fonts.waitUntilLoaded();
    setFont(windowFont(FontRole::WindowDefault));
    // The program's one window: its dialogs, message boxes and tool tips use its plain
    // face too. (A text box also lays out its first text in the application's font
    // before it takes its own: with the platform's default, a face is loaded that
    // nothing shows.)
    QApplication::setFont(windowFont(FontRole::SansNormal));
    // Placed in the table's order, which is also the order they are stacked in.
    for (size_t i = 0; i < table.size(); ++i)
        if (QWidget *widget = laysOutTextWhenMade(table[i].kind) ? createControl(table[i]) : made[i])
            placeControl(table[i], widget);
    // A screen reader names the boxes with a caption over them as a sighted user reads
    // them; their tool tips stay their descriptions.
    for (const auto &[captionName, box] : {std::pair{"Label15", static_cast<QWidget *>(m_portChooser)},
                                           std::pair{"Label6", static_cast<QWidget *>(m_panelName)}}) {
        auto *caption = findChild<QLabel *>(QLatin1String(captionName));
        caption->setBuddy(box);
        box->setAccessibleName(caption->text());
    }

    QWidget *previous = nullptr;
    for (const auto &[tab, widget] : m_focusOrder) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_initialFocusGiven) {
        m_initialFocusGiven = true;
        m_readConfig->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The window's accessible name is its title as shown, with or without the mark.
    if (event->type() == QEvent::ModifiedChange) {
        QAccessibleEvent renamed(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Edits since the last save or open are not lost without a question, also while
    // an operation runs (it only waits longer meanwhile; nothing goes out unpaced).
    if (!unsavedEditsHandled(FileDialogs::LosingEdits::Closing)) {
        event->ignore();
        return;
    }
    // An operation waiting for the panel ends at once and closes the port itself.
    m_session->interrupt();
    QWidget::closeEvent(event);
}

bool MainWindow::unsavedEditsHandled(FileDialogs::LosingEdits before)
{
    if (!isWindowModified())
        return true;
    switch (m_dialogs->askSaveChanges(before)) {
    case FileDialogs::CloseAnswer::Save:
        showFailedSwitch(-1);
        WRITE_FILE_Click();
        return !isWindowModified(); // refused, cancelled or failed: nothing is lost
    case FileDialogs::CloseAnswer::Discard:
        return true;
    case FileDialogs::CloseAnswer::Cancel:
        return false;
    }
    return false;
}

bool MainWindow::operationRunning() const
{
    return m_session->busy();
}

void MainWindow::connectCommand(QPushButton *button, void (MainWindow::*command)())
{
    // A click that arrives while a panel operation waits must not start a second
    // command inside the first.
    connect(button, &QPushButton::clicked, this, [this, command] {
        if (operationRunning())
            return;
        showFailedSwitch(-1);
        (this->*command)();
    });
}

void MainWindow::READ_CONFIG_Click()
{
    // A read empties the name and the designations, which the panel does not keep.
    if (!unsavedEditsHandled(FileDialogs::LosingEdits::Reading))
        return;
    m_session->readPanel();
}

void MainWindow::WRITE_CONFIG_Click()
{
    m_session->writePanel();
}

void MainWindow::READ_FILE_Click()
{
    opened(m_files->open());
}

void MainWindow::opened(const FileCommands::Done &done)
{
    if (!done.succeeded())
        return;
    fileUsed(done.file);
    // A name cut to fit the box is a change a save would write.
    if (done.nameCut)
        edited();
}

void MainWindow::WRITE_FILE_Click()
{
    if (const auto done = m_files->save(); done.succeeded())
        fileUsed(done.file);
}

void MainWindow::ModuleList_Click(int switchIndex)
{
    const SwitchGroup &group = m_groups[switchIndex];
    const ModuleSelectionEffect effect = ModuleSelected(state(), switchIndex, group.moduleList->selectedPosition());
    if (effect.channelListVisible)
        group.channelList->setVisible(*effect.channelListVisible);
}

void MainWindow::ChannelList_Click(int switchIndex)
{
    const SwitchGroup &group = m_groups[switchIndex];
    const ChannelSelectionEffect effect = ChannelSelected(state(), switchIndex, group.channelList->selectedPosition());
    if (effect.showDesignation)
        group.designation->show();
}

int MainWindow::modulePosition(int switchIndex) const
{
    return m_groups.at(switchIndex).moduleList->selectedPosition();
}

int MainWindow::channelPosition(int switchIndex) const
{
    return m_groups.at(switchIndex).channelList->selectedPosition();
}

void MainWindow::selectModulePosition(int switchIndex, int position)
{
    m_groups.at(switchIndex).moduleList->setSelectedPosition(position);
}

void MainWindow::selectChannelPosition(int switchIndex, int position)
{
    m_groups.at(switchIndex).channelList->setSelectedPosition(position);
}

QString MainWindow::designationText(int switchIndex) const
{
    return m_groups.at(switchIndex).designation->text();
}

void MainWindow::setDesignationText(int switchIndex, const QString &text)
{
    m_groups.at(switchIndex).designation->showText(text);
}

void MainWindow::setDesignationVisible(int switchIndex, bool visible)
{
    m_groups.at(switchIndex).designation->setVisible(visible);
}

QString MainWindow::panelNameText() const
{
    return m_panelName->text();
}

void MainWindow::showFailedSwitch(int switchIndex)
{
    for (int i = 0; i < kSwitchCount; ++i) {
        QLabel *caption = m_groups[i].caption;
        const bool failed = i == switchIndex;
        setCaptionColour(caption, failed ? kFailedCaptionColour : kCaptionColour);
        // Said, not only coloured: a screen reader hears where the operation stopped
        // (Qt announces the change of description).
        const QString description = failed ? QStringLiteral("STOPPED HERE") : QString();
        if (caption->accessibleDescription() != description)
            caption->setAccessibleDescription(description);
    }
}

void MainWindow::setPanelNameText(const QString &text)
{
    m_panelName->setText(text);
}

} // namespace kdr
