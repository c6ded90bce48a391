// SPDX-License-Identifier: GPL-3.0-or-later
#include "SwitchPanelView.h"

#include "SwitchDecoding.h"

namespace kdr {

void moduleListSelected(WorkingState &state, SwitchPanelView &view, int switchIndex)
{
    const ModuleSelectionEffect effect = ModuleSelected(state, switchIndex, view.modulePosition(switchIndex));
    if (effect.channelListVisible)
        view.setChannelListVisible(switchIndex, *effect.channelListVisible);
}

void channelListSelected(WorkingState &state, SwitchPanelView &view, int switchIndex)
{
    if (ChannelSelected(state, switchIndex, view.channelPosition(switchIndex)).showDesignation)
        view.setDesignationVisible(switchIndex, true);
}

PanelListPositions listPositionsOf(const SwitchPanelView &view)
{
    PanelListPositions positions;
    for (int i = 0; i < kSwitchCount; ++i)
        positions[i] = {view.modulePosition(i), view.channelPosition(i)};
    return positions;
}

void selectDecodedCode(WorkingState &state, SwitchPanelView &view, int switchIndex)
{
    DecodeSwitchCode(state);
    view.selectModulePosition(switchIndex, state.h_index);
    if (!isCompleteModulePosition(state.h_index))
        view.selectChannelPosition(switchIndex, state.l_index);
}

std::optional<int> collectCodesForWriting(WorkingState &state, const SwitchPanelView &view)
{
    state.error_flag = 0;
    const std::optional<int> incomplete = CollectSwitchCodes(state, listPositionsOf(view));
    state.BL = kClosingValue;
    return incomplete;
}

} // namespace kdr
