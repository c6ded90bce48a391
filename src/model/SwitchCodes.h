// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

// The fixed assignment lists every switch picks from, and the code values the
// panel and the configuration files carry. All code arithmetic uses the item
// values stored with the entries, never their texts.
namespace kdr {

using Code = std::int16_t;

constexpr int kSwitchCount = 10;
constexpr Code kCodeBlMr = 159;        // "BL/MR"; also what "P" + "10" adds up to
constexpr Code kCodeNotAssigned = 160; // "N/A"
constexpr Code kClosingValue = 159;    // written to address 10 and closing every file line
constexpr int kClosingAddress = 10;

struct ListEntry {
    const char *text;
    Code itemValue;
};

// clang-format off
inline constexpr std::array<ListEntry, 18> kModuleList{{
    {"N/A", 160}, {"A", 0},    {"B", 10},   {"C", 20},  {"D", 30},  {"E", 40},
    {"F", 50},    {"G", 60},   {"H", 70},   {"I", 80},  {"J", 90},  {"K", 100},
    {"L", 110},   {"M", 120},  {"N", 130},  {"O", 140}, {"P", 150}, {"BL/MR", 159},
}};

inline constexpr std::array<ListEntry, 10> kChannelList{{
    {"1", 0}, {"2", 1}, {"3", 2}, {"4", 3}, {"5", 4},
    {"6", 5}, {"7", 6}, {"8", 7}, {"9", 8}, {"10", 9},
}};
// clang-format on

constexpr int kModulePositionNotAssigned = 0;
constexpr int kModulePositionBlMr = 17;

// "N/A" and "BL/MR" are recognised by their place in the list: their item value
// is the whole code and the switch needs no channel.
constexpr bool isCompleteModulePosition(int position)
{
    return position == kModulePositionNotAssigned || position == kModulePositionBlMr;
}

constexpr bool isModulePosition(int position)
{
    return position >= 0 && position < int(kModuleList.size());
}

constexpr bool isChannelPosition(int position)
{
    return position >= 0 && position < int(kChannelList.size());
}

// Switch n (1 … 10) lives at panel address n − 1; here switches are indexed 0 … 9.
constexpr int panelAddress(int switchIndex)
{
    return switchIndex;
}

} // namespace kdr
