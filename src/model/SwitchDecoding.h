// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WorkingState.h"

#include <QString>

namespace kdr {

// Turns the code in `A` into list positions: always sets `h_index`, sets `l_index`
// only for codes below 159 and leaves the channel remainder in `A` for codes 10 to
// 158. Codes above 160 decode as "N/A"; a negative code gives module "A" and a
// negative `l_index`, which is no channel position.
void DecodeSwitchCode(WorkingState &state);

// What a code stands for as the lists show it: the module ("C", "N/A", "BL/MR") and,
// for "A" to "P", the channel ("6"; "?" where the code names none).
struct Assignment {
    QString module;
    QString channel; // empty for "N/A" and "BL/MR"
};
Assignment assignmentOf(Code code);

} // namespace kdr
