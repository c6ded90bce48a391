// SPDX-License-Identifier: GPL-3.0-or-later
#include "SwitchDecoding.h"

namespace kdr {

void DecodeSwitchCode(WorkingState &state)
{
    state.h_index = 1;
    if (state.A > kCodeBlMr) {
        state.h_index = kModulePositionNotAssigned;
        return;
    }
    if (state.A == kCodeBlMr) {
        state.h_index = kModulePositionBlMr;
        return;
    }
    if (state.A < 10) {
        state.l_index = state.A;
        return;
    }
    while (state.A >= 10) {
        state.A = Code(state.A - 10);
        state.h_index = Code(state.h_index + 1);
        state.l_index = state.A;
    }
}

} // namespace kdr
