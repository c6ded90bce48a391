#pragma once

#include "model/SwitchPanelView.h"
#include "model/SwitchSelection.h"
#include "model/WorkingState.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kdr {

class FileCommands;
class FileDialogs;
class MSComm1;
class PanelOperations;
class PanelProtocol;
class SelectionList;
struct ControlSpec;
class StatusTextBox;
class TickWaiter;

// The one window: the panel picture with the ten switch groups over it, the four
// command buttons, the panel name box and the status box. It owns the working
// state, the serial port and the tick timer, runs the selection handling of every
// list and starts the four commands.
//
// The serial device is the first serial port unless another is given (the
// simulated-panel program and the tests hand in a pseudo-terminal).
class Form1 : public QWidget, public SwitchPanelView {
    Q_OBJECT
public:
    explicit Form1(const QString &serialDevice = {}, QWidget *parent = nullptr);
    ~Form1() override;

    WorkingState &state() { return m_state; }
    StatusTextBox &statusBox() { return *m_status; }
    MSComm1 &port() { return *m_port; }
    bool operationRunning() const;
    // Replaces the file dialogs and the message box, e.g. by ones that need no person.
    void setFileDialogs(std::unique_ptr<FileDialogs> dialogs);

    int modulePosition(int switchIndex) const override;
    int channelPosition(int switchIndex) const override;
    void selectModulePosition(int switchIndex, int position) override;
    void selectChannelPosition(int switchIndex, int position) override;
    QString designationText(int switchIndex) const override;
    void setDesignationText(int switchIndex, const QString &text) override;
    void setDesignationVisible(int switchIndex, bool visible) override;
    QString panelNameText() const override;
    void setPanelNameText(const QString &text) override;

    static constexpr int kPanelNameMaxLength = 12;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct SwitchGroup {
        SelectionList *moduleList = nullptr;
        SelectionList *channelList = nullptr;
        QLineEdit *designation = nullptr;
    };

    void buildControls();
    QWidget *createControl(const ControlSpec &entry);
    void connectCommand(QPushButton *button, void (Form1::*command)());
    void READ_CONFIG_Click();
    void WRITE_CONFIG_Click();
    void READ_FILE_Click();
    void WRITE_FILE_Click();
    void ModuleList_Click(int switchIndex);
    void ChannelList_Click(int switchIndex);

    WorkingState m_state;
    std::unique_ptr<MSComm1> m_port;
    std::unique_ptr<TickWaiter> m_waiter;
    std::unique_ptr<PanelProtocol> m_protocol;
    std::unique_ptr<PanelOperations> m_operations;
    std::unique_ptr<FileDialogs> m_dialogs;
    std::unique_ptr<FileCommands> m_files;
    std::array<SwitchGroup, kSwitchCount> m_groups{};
    StatusTextBox *m_status = nullptr;
    QLineEdit *m_panelName = nullptr;
    QPushButton *m_readConfig = nullptr;
    bool m_initialFocusGiven = false;
};

} // namespace kdr
