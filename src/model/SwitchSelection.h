// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WorkingState.h"

#include <array>
#include <optional>

namespace kdr {

// What a module selection decided for the switch's channel list.
struct ModuleSelectionEffect {
    std::optional<bool> channelListVisible; // empty: leave it as it is
};

// What a channel selection decided for the switch's designation box.
struct ChannelSelectionEffect {
    bool showDesignation = false;
};

// Selected positions of one switch's two lists; −1 while nothing is selected.
struct SwitchListPositions {
    int module = -1;
    int channel = -1;
};

using PanelListPositions = std::array<SwitchListPositions, kSwitchCount>;

// A module list's selection changed to `position` (also when it was set to the
// position it already had). "N/A" and "BL/MR" set the code alone and hide the
// channel list; "A" … "P" show it and add the remembered channel. A position that
// is no entry changes nothing.
ModuleSelectionEffect ModuleSelected(WorkingState &state, int switchIndex, int position);

// A channel list's selection changed to `position`: the switch's code becomes the
// last ordinary module plus this channel, and its designation box is to be shown.
// No position (−1, from a negative code) leaves the fields as they are.
ChannelSelectionEffect ChannelSelected(WorkingState &state, int switchIndex, int position);

// Turns the twenty list positions into `s1w` … `s10w`. Stops at the first switch
// whose module is unselected, or ordinary without a channel: sets `error_flag` to 1,
// leaves that switch's and the later switches' collected codes as they were, and
// returns that switch's index. Never clears `error_flag`.
std::optional<int> CollectSwitchCodes(WorkingState &state, const PanelListPositions &positions);

} // namespace kdr
