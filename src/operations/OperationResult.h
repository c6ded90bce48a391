// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/PortOpenError.h"
#include "model/SwitchCodes.h"

#include <QString>

#include <array>
#include <optional>

namespace kdr {

enum class OperationOutcome {
    Succeeded,
    Busy, // another operation of the same session is still running
    PortNotOpened,
    Incomplete,     // a switch's selection is incomplete; nothing was sent
    NoResponse,     // the panel did not answer the handshake
    BadData,        // a read or a write step failed
    ConnectionLost, // the cable went away
    Interrupted,    // stopped from outside; nothing was sent after that
};

// How a panel read or write ended, for whoever started it.
struct OperationResult {
    OperationOutcome outcome = OperationOutcome::Succeeded;
    QString statusText; // the final text of the status box
    PortOpenError portError = PortOpenError::None;
    bool greeted = false;  // the panel answered the greeting
    int failedSwitch = -1; // 0 … 9 where it stopped at a switch; after the greeting,
                           // −1 is the closing value at address 10
    // The code read for each switch (a write's: read back), empty for one not read.
    std::array<std::optional<Code>, kSwitchCount> codesRead{};

    bool succeeded() const { return outcome == OperationOutcome::Succeeded; }
};

} // namespace kdr
