// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "StatusBox.h"
#include "SwitchPanelView.h"

#include <array>

namespace kdr {

// The switch lists, designation boxes and panel name of a window that is never
// shown: positions, texts and visibilities kept in memory, with the selection
// handling the window runs. For programs and tests that drive a panel without a
// screen. It starts as the window does: nothing selected, every designation
// "DESIGNATION ", every list and box shown, no panel name.
class HeadlessPanelView : public SwitchPanelView {
public:
    explicit HeadlessPanelView(WorkingState &state);

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
    void showFailedSwitch(int switchIndex) override { m_failedSwitch = switchIndex; }
    int failedSwitch() const { return m_failedSwitch; }

    bool channelListVisible(int switchIndex) const { return m_switches.at(switchIndex).channelVisible; }
    bool designationVisible(int switchIndex) const { return m_switches.at(switchIndex).designationVisible; }

private:
    struct Switch {
        int module = -1;
        int channel = -1;
        bool channelVisible = true;
        bool designationVisible = true;
        QString designation = kInitialDesignation;
    };

    WorkingState &m_state;
    std::array<Switch, kSwitchCount> m_switches{};
    QString m_panelName;
    int m_failedSwitch = -1;
};

// A status box nobody sees: it keeps what it was last told.
class HeadlessStatusBox : public StatusBox {
public:
    void setStatusText(const QString &text) override { m_text = text; }
    void setStatusColour(StatusColour colour) override { m_colour = colour; }
    void showStatus() override { m_visible = true; }
    void hideStatus() override { m_visible = false; }

    QString text() const { return m_text; }
    StatusColour colour() const { return m_colour; }
    bool isVisible() const { return m_visible; }

private:
    QString m_text;
    StatusColour m_colour = StatusColour::Yellow;
    bool m_visible = false;
};

} // namespace kdr
