// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "AccessibleInterfaces.h"
#include "DesignationBox.h"
#include "PanelArt.h"
#include "PortChooser.h"
#include "Preferences.h"
#include "QtFileDialogs.h"
#include "ScreenFit.h"
#include "ServiceKit.h"
#include "ServiceMenu.h"
#include "SelectionList.h"
#include "StatusTextBox.h"
#include "WindowFonts.h"

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
#include <QPushButton>

#include <algorithm>
#include <map>

namespace kdr {

namespace {

const QString kTitle = QStringLiteral("RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM");

// System colour 11, the inactive window border of the standard Windows scheme.
const QColor kWindowBackground(212, 208, 200);

} // namespace

MainWindow::MainWindow(const QString &serialDevice, QWidget *parent) : QWidget(parent)
{
    installAccessibleInterfaces();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kTitle);
    setWindowIcon(programIcon(IconKind::Tool));
    setFixedSize(ScreenFit::clientSizeAt100());
    QPalette p = palette();
    p.setColor(QPalette::Window, kWindowBackground);
    setPalette(p);
    setAutoFillBackground(true);
    buildControls();
    QString device = serialDevice.isEmpty() ? Preferences::rememberedPort() : serialDevice;
    if (device.isEmpty())
        device = PanelPort::defaultDevice();
    m_session = std::make_unique<PanelSession>(device, *this, *m_controls.statusBox);
    m_controls.portChooser->showChosen(device);
    setFileDialogs(std::make_unique<QtFileDialogs>(this));
    m_menu = new ServiceMenu(
        *this, {[this] { runService(&ServiceKit::saveSheet); }, [this] { runService(&ServiceKit::saveTrace); },
                [this] { runService(&ServiceKit::findPanel); }, [this] { runService(&ServiceKit::showAbout); }});
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
    m_controls.portChooser->setEnabled(false);
    m_controls.portChooser->setFindOffered(false);
    m_menu->setSearchable(false);
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
        m_controls.portChooser->showChosen(m_session->device());
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
    m_files = std::make_unique<FileCommands>(state(), *this, *m_controls.statusBox, *m_dialogs);
    m_files->setStartFolder(Preferences::fileFolder());
    PortChooser *chooser = m_controls.portChooser;
    m_kit = std::make_unique<ServiceKit>(ServiceKit::Window{
        this, state(), *this, *m_controls.statusBox, *m_dialogs, *m_files, [this] { return m_session->device(); },
        [this] { return windowFilePath(); }, [chooser] { return chooser->ports(); },
        [this, chooser](const QString &device) {
            chooser->showChosen(device);
            choosePort(device);
        }});
    connect(m_kit.get(), &ServiceKit::searchEnded, this, [this] { setBusy(false); });
}

void MainWindow::runService(void (ServiceKit::*command)())
{
    if (operationRunning())
        return;
    showFailedSwitch(-1);
    // A search runs on after this returns, and ends with searchEnded.
    setBusy(true);
    (m_kit.get()->*command)();
    if (!m_kit->searching())
        setBusy(false);
}

void MainWindow::setBusy(bool busy)
{
    m_menu->setAvailable(!busy);
}

bool MainWindow::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    if (m_menu && m_menu->handleSystemCommand(message)) {
        *result = 0;
        return true;
    }
    return QWidget::nativeEvent(eventType, message, result);
}

MainWindow::~MainWindow() = default;

WorkingState &MainWindow::state()
{
    return m_session->state();
}

void MainWindow::placeControl(const ControlSpec &entry, QWidget *widget)
{
    const ControlKindTraits &kind = traitsOf(entry.kind);
    widget->setObjectName(entry.name);
    if (!kind.placesItself)
        widget->setGeometry(entry.pixelRect());
    widget->setFont(windowFont(entry.font));
    if (kind.heightFollowsText)
        widget->resize(widget->width(), widget->heightForWidth(widget->width()));
    // What a screen reader calls a list or a box is what its tool tip says it is; a
    // button is called by its caption, with the tool tip as its description.
    if (!entry.toolTip.isEmpty()) {
        switch (kind.toolTip) {
        case ToolTipUse::NameAndToolTip:
            widget->setToolTip(entry.toolTip);
            widget->setAccessibleName(entry.toolTip);
            break;
        case ToolTipUse::DescribesCaption:
            widget->setToolTip(entry.toolTip);
            break;
        case ToolTipUse::MadeWithIt:
            break;
        }
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
    const auto make = [&](size_t row) { made[row] = traitsOf(table[row].kind).make(table[row], this, m_controls); };
    for (size_t row = 0; row < table.size(); ++row)
        if (!traitsOf(table[row].kind).laysOutTextWhenMade)
            make(row);

    fonts.waitUntilLoaded();
    setFont(windowFont(FontRole::WindowDefault));
    // The program's one window: its dialogs, message boxes and tool tips use its plain
    // face too. (A text box also lays out its first text in the application's font
    // before it takes its own: with the platform's default, a face is loaded that
    // nothing shows.)
    QApplication::setFont(windowFont(FontRole::SansNormal));
    // Placed in the table's order, which is also the order they are stacked in.
    for (size_t row = 0; row < table.size(); ++row) {
        if (!made[row])
            make(row);
        placeControl(table[row], made[row]);
    }
    // A screen reader names the boxes with a caption over them as a sighted user reads
    // them; their tool tips stay their descriptions.
    for (const auto &[caption, named] : m_controls.namingCaptions) {
        const QString &name = named;
        const auto row =
            std::find_if(table.begin(), table.end(), [&name](const ControlSpec &e) { return e.name == name; });
        QWidget *box = made.at(size_t(row - table.begin()));
        caption->setBuddy(box);
        box->setAccessibleName(caption->text());
    }

    QWidget *previous = nullptr;
    for (const auto &[tab, widget] : m_focusOrder) {
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }

    for (int i = 0; i < kSwitchCount; ++i)
        m_controls.switches[i].connectHandlers([this, i] { moduleListSelected(state(), *this, i); },
                                               [this, i] { channelListSelected(state(), *this, i); },
                                               [this] { edited(); });
    connect(m_controls.panelName, &QLineEdit::textEdited, this, &MainWindow::edited);
    m_controls.portChooser->installEventFilter(this);
    m_controls.portChooser->lineEdit()->installEventFilter(this);
    connect(m_controls.portChooser, &PortChooser::portChosen, this, &MainWindow::choosePort);
    connect(m_controls.portChooser, &PortChooser::findRequested, this, [this] { runService(&ServiceKit::findPanel); });
    for (const auto &[command, button] : m_controls.commandButtons)
        connect(button, &QPushButton::clicked, this, [this, command = command] { runCommand(command); });
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_menu->addToSystemMenu();
    if (!m_initialFocusGiven) {
        m_initialFocusGiven = true;
        m_controls.commandButtons.at(Command::ReadPanel)->setFocus(Qt::OtherFocusReason);
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
    return m_session->busy() || (m_kit && m_kit->searching());
}

void MainWindow::runCommand(Command command)
{
    // A click that arrives while a panel operation waits must not start a second
    // command inside the first.
    if (operationRunning())
        return;
    static const std::map<Command, void (MainWindow::*)()> handlers{
        {Command::ReadPanel, &MainWindow::READ_CONFIG_Click},
        {Command::WritePanel, &MainWindow::WRITE_CONFIG_Click},
        {Command::OpenFile, &MainWindow::READ_FILE_Click},
        {Command::SaveFile, &MainWindow::WRITE_FILE_Click},
    };
    showFailedSwitch(-1);
    setBusy(true);
    if (const auto handler = handlers.find(command); handler != handlers.end())
        (this->*handler->second)();
    setBusy(false);
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

int MainWindow::modulePosition(int switchIndex) const
{
    return m_controls.switches.at(switchIndex).moduleList->selectedPosition();
}

int MainWindow::channelPosition(int switchIndex) const
{
    return m_controls.switches.at(switchIndex).channelList->selectedPosition();
}

void MainWindow::selectModulePosition(int switchIndex, int position)
{
    m_controls.switches.at(switchIndex).moduleList->setSelectedPosition(position);
}

void MainWindow::selectChannelPosition(int switchIndex, int position)
{
    m_controls.switches.at(switchIndex).channelList->setSelectedPosition(position);
}

QString MainWindow::designationText(int switchIndex) const
{
    return m_controls.switches.at(switchIndex).designation->text();
}

void MainWindow::setDesignationText(int switchIndex, const QString &text)
{
    m_controls.switches.at(switchIndex).designation->showText(text);
}

void MainWindow::setDesignationVisible(int switchIndex, bool visible)
{
    m_controls.switches.at(switchIndex).designation->setVisible(visible);
}

void MainWindow::setChannelListVisible(int switchIndex, bool visible)
{
    m_controls.switches.at(switchIndex).channelList->setVisible(visible);
}

QString MainWindow::panelNameText() const
{
    return m_controls.panelName->text();
}

void MainWindow::setPanelNameText(const QString &text)
{
    m_controls.panelName->setText(text);
}

void MainWindow::showFailedSwitch(int switchIndex)
{
    for (int i = 0; i < kSwitchCount; ++i)
        m_controls.switches[i].markFailed(i == switchIndex);
}

} // namespace kdr
