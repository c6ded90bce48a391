// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SwitchSelection.h"

#include <QString>

#include <optional>

namespace kdr {

// What a designation box holds until something is typed, opened or read.
inline const QString kInitialDesignation = QStringLiteral("DESIGNATION ");
// The most characters the panel name box takes.
constexpr int kPanelNameMaxLength = 12;

// The part of the window that the panel operations and the file commands work
// on. Switches are indexed 0 … 9 (SW1 … SW10). Selecting a position from code
// runs that list's selection handling before the call returns, also when the
// list already stands at that position; a position that is no entry clears the
// list's selection.
class SwitchPanelView {
public:
    virtual ~SwitchPanelView() = default;

    virtual int modulePosition(int switchIndex) const = 0;
    virtual int channelPosition(int switchIndex) const = 0;
    virtual void selectModulePosition(int switchIndex, int position) = 0;
    virtual void selectChannelPosition(int switchIndex, int position) = 0;

    virtual QString designationText(int switchIndex) const = 0;
    virtual void setDesignationText(int switchIndex, const QString &text) = 0;
    virtual void setDesignationVisible(int switchIndex, bool visible) = 0;
    virtual void setChannelListVisible(int switchIndex, bool visible) = 0;

    virtual QString panelNameText() const = 0;
    virtual void setPanelNameText(const QString &text) = 0;

    // Marks the switch where a command stopped (−1: none) until the next command starts.
    virtual void showFailedSwitch(int switchIndex) = 0;
};

// The selection handling of a switch's lists, the same in every view: the list's
// position as it now stands updates the working state, and what that decides is
// shown (the channel list shown or hidden; the designation box shown).
void moduleListSelected(WorkingState &state, SwitchPanelView &view, int switchIndex);
void channelListSelected(WorkingState &state, SwitchPanelView &view, int switchIndex);

// The twenty lists' selected positions as they stand.
PanelListPositions listPositionsOf(const SwitchPanelView &view);

// Shows the code in `A` in a switch's lists, as reading a panel and opening a file
// do: `DecodeSwitchCode`, then the module position, then, for "A" … "P", the
// channel position. "N/A" and "BL/MR" need no channel: the hidden channel list
// keeps the switch's own, not the position an earlier switch's code left behind.
void selectDecodedCode(WorkingState &state, SwitchPanelView &view, int switchIndex);

// The codes a write to the panel or a save sends: `error_flag` cleared, the lists
// collected into `s1w` … `s10w`, `BL` set to 159. Returns the first incomplete
// switch, if any (then `error_flag` is 1).
std::optional<int> collectCodesForWriting(WorkingState &state, const SwitchPanelView &view);

} // namespace kdr
