#pragma once

#include "SwitchSelection.h"

#include <QString>

namespace kdr {

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

    virtual QString panelNameText() const = 0;
    virtual void setPanelNameText(const QString &text) = 0;

    // Marks the switch where a command stopped (−1: none) until the next command starts.
    virtual void showFailedSwitch(int switchIndex) = 0;
};

// The twenty lists' selected positions as they stand.
inline PanelListPositions listPositionsOf(const SwitchPanelView &view)
{
    PanelListPositions positions;
    for (int i = 0; i < kSwitchCount; ++i)
        positions[i] = {view.modulePosition(i), view.channelPosition(i)};
    return positions;
}

} // namespace kdr
