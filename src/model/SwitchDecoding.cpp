// SPDX-License-Identifier: GPL-3.0-or-later
#include "SwitchDecoding.h"

#include "SwitchCodes.h"

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

Assignment assignmentOf(Code code)
{
    WorkingState decoding;
    decoding.A = code;
    decoding.l_index = -1;
    DecodeSwitchCode(decoding);
    Assignment assignment{QString::fromLatin1(kModuleList[decoding.h_index].text), {}};
    if (!isCompleteModulePosition(decoding.h_index))
        assignment.channel = isChannelPosition(decoding.l_index)
                                 ? QString::fromLatin1(kChannelList[decoding.l_index].text)
                                 : QStringLiteral("?");
    return assignment;
}

} // namespace kdr
