// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "WorkingState.h"

namespace kdr {

// Turns the code in `A` into list positions: always sets `h_index`, sets `l_index`
// only for codes below 159 and leaves the channel remainder in `A` for codes 10 to
// 158. Codes above 160 decode as "N/A"; a negative code gives module "A" and a
// negative `l_index`, which is no channel position.
void DecodeSwitchCode(WorkingState &state);

} // namespace kdr
