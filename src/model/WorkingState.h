// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SwitchCodes.h"

#include <QString>

#include <array>

namespace kdr {

// What the window knows about one switch. The members keep the names of the
// window-level fields they stand for: SW1's `s` is `s1`, its `m` is `s1m`, and so on.
struct SwitchFields {
    Code s = 0;    // code the current selection yields, or as loaded from a file
    Code m = 0;    // item value of the last ordinary module ("A" … "P") selected
    Code c = 0;    // item value of the current channel entry
    Code w = 0;    // code collected for writing to the panel or a file
    QString desig; // designation as loaded from a file
};

// The window's whole working state. Procedures hand values to each other through
// these fields; every number starts at 0 and every text empty.
struct WorkingState {
    std::array<SwitchFields, kSwitchCount> sw{};
    QString panel;
    Code BL = 0;
    Code A = 0;
    Code h_index = 0;
    Code l_index = 0;
    Code address_l = 0;
    Code data_l = 0;
    Code timer_flag = 0;
    Code error_flag = 0;
};

} // namespace kdr
