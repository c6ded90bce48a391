// SPDX-License-Identifier: GPL-3.0-or-later
#include "SwitchSelection.h"

#include <limits>
#include <optional>

namespace kdr {

namespace {

std::optional<Code> addCodes(int a, int b)
{
    const int sum = a + b;
    if (sum < std::numeric_limits<Code>::min() || sum > std::numeric_limits<Code>::max())
        return std::nullopt;
    return Code(sum);
}

} // namespace

ModuleSelectionEffect ModuleSelected(WorkingState &state, int switchIndex, int position)
{
    SwitchFields &fields = state.sw.at(switchIndex);
    if (!isModulePosition(position))
        return {};
    if (isCompleteModulePosition(position)) {
        fields.s = kModuleList[position].itemValue;
        return {false};
    }
    fields.m = kModuleList[position].itemValue;
    if (const auto sum = addCodes(fields.c, fields.m))
        fields.s = *sum;
    return {true};
}

ChannelSelectionEffect ChannelSelected(WorkingState &state, int switchIndex, int position)
{
    SwitchFields &fields = state.sw.at(switchIndex);
    if (!isChannelPosition(position))
        return {false};
    fields.c = kChannelList[position].itemValue;
    if (const auto sum = addCodes(fields.m, fields.c))
        fields.s = *sum;
    return {true};
}

std::optional<int> CollectSwitchCodes(WorkingState &state, const PanelListPositions &positions)
{
    for (int i = 0; i < kSwitchCount; ++i) {
        const SwitchListPositions &p = positions[i];
        if (isCompleteModulePosition(p.module)) {
            state.sw[i].w = kModuleList[p.module].itemValue;
            continue;
        }
        const auto sum = isModulePosition(p.module) && isChannelPosition(p.channel)
                             ? addCodes(kModuleList[p.module].itemValue, kChannelList[p.channel].itemValue)
                             : std::nullopt;
        if (!sum) {
            state.error_flag = 1;
            return i;
        }
        state.sw[i].w = *sum;
    }
    return std::nullopt;
}

} // namespace kdr
