// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/FileCommands.h"
#include "files/FileDialogs.h"
#include "model/SwitchPanelView.h"
#include "model/SwitchSelection.h"
#include "model/WorkingState.h"
#include "ControlFactories.h"
#include "StatusTextBox.h"

#include <QWidget>

#include <array>
#include <map>
#include <memory>

namespace kdr {

class PanelSession;
class ServiceKit;
class ServiceMenu;

// The one window (objectName `Form1`): the panel picture with the ten switch
// groups over it, the four command buttons, the panel name box and the status box.
// It owns the panel session (working state, port, tick timer), runs the selection
// handling of every list and starts the four commands.
//
// The serial port is the one last chosen in the window's port chooser (remembered
// for the user), else port 1; a device given to the constructor is used for this
// run only (a command-line option, the simulated-panel program, the tests).
class MainWindow : public QWidget, public SwitchPanelView {
    Q_OBJECT
public:
    explicit MainWindow(const QString &serialDevice = {}, QWidget *parent = nullptr);
    ~MainWindow() override;

    WorkingState &state();
    StatusTextBox &statusBox() { return *m_controls.statusBox; }
    PanelSession &session() { return *m_session; }
    bool operationRunning() const;
    // Replaces the file dialogs and the message box, e.g. by ones that need no person.
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs);
    // The port cannot be changed in this window (the simulated panel has only one).
    void fixPort();
    // Opens a configuration file as the open command does, without its dialog.
    void openFile(const QString &path);
    // Text added to the end of the window's title (the simulated-panel program's mark).
    void setTitleSuffix(const QString &suffix);
    // The service commands (sheet, wire trace, finding the panel, about) and their menus.
    ServiceKit &serviceKit() { return *m_kit; }
    ServiceMenu &serviceMenu() { return *m_menu; }

    int modulePosition(int switchIndex) const override;
    int channelPosition(int switchIndex) const override;
    void selectModulePosition(int switchIndex, int position) override;
    void selectChannelPosition(int switchIndex, int position) override;
    QString designationText(int switchIndex) const override;
    void setDesignationText(int switchIndex, const QString &text) override;
    void setDesignationVisible(int switchIndex, bool visible) override;
    void setChannelListVisible(int switchIndex, bool visible) override;
    QString panelNameText() const override;
    void setPanelNameText(const QString &text) override;
    void showFailedSwitch(int switchIndex) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    // The controls are made in two rounds: those that need no font while the list of
    // fonts loads, then the rest.
    void buildControls();
    void placeControl(const ControlSpec &entry, QWidget *widget);
    void runCommand(Command command);
    // A command of the service menu, when no panel operation runs.
    void runService(void (ServiceKit::*command)());
    void setBusy(bool busy);
    void READ_CONFIG_Click();
    void WRITE_CONFIG_Click();
    void READ_FILE_Click();
    void WRITE_FILE_Click();
    void choosePort(const QString &device);
    void edited();
    void fileUsed(const QString &path);
    void updateTitle(bool modified);
    void opened(const FileCommands::Done &done);
    // Asks before unsaved edits are lost; false when the person cancelled, or a
    // save they asked for did not happen.
    bool unsavedEditsHandled(FileDialogs::LosingEdits before);

    std::unique_ptr<PanelSession> m_session;
    std::unique_ptr<FileDialogs> m_dialogs;
    std::unique_ptr<FileCommands> m_files;
    std::unique_ptr<ServiceKit> m_kit;
    ServiceMenu *m_menu = nullptr;
    WindowControls m_controls;
    std::map<int, QWidget *> m_focusOrder;
    bool m_portFixed = false;
    QString m_titleSuffix;
    bool m_initialFocusGiven = false;
};

} // namespace kdr
