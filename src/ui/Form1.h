#pragma once

#include "model/SwitchPanelView.h"
#include "model/SwitchSelection.h"
#include "model/WorkingState.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kdr {

class SelectionList;
class StatusTextBox;

// The one window: the panel picture with the ten switch groups over it, the four
// command buttons, the panel name box and the status box. It owns the working
// state and runs the selection handling of every list.
class Form1 : public QWidget, public SwitchPanelView {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    WorkingState &state() { return m_state; }
    StatusTextBox &statusBox() { return *m_status; }
    PanelListPositions listPositions() const;

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

signals:
    void readConfigClicked();
    void writeConfigClicked();
    void readFileClicked();
    void writeFileClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct SwitchGroup {
        SelectionList *moduleList = nullptr;
        SelectionList *channelList = nullptr;
        QLineEdit *designation = nullptr;
    };

    void buildControls();
    void ModuleList_Click(int switchIndex);
    void ChannelList_Click(int switchIndex);

    WorkingState m_state;
    std::array<SwitchGroup, kSwitchCount> m_groups{};
    StatusTextBox *m_status = nullptr;
    QLineEdit *m_panelName = nullptr;
    QPushButton *m_readConfig = nullptr;
    bool m_initialFocusGiven = false;
};

} // namespace kdr
