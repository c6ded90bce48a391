// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/PortOpenError.h"
#include "link/PanelProtocol.h"
#include "model/StatusBox.h"

#include <QString>

#include <optional>

namespace kdr {

// Which exchange a status report is about: a read of one switch, or a write of
// one address with its read-back.
enum class StepKind { Read, Write };

// What the status box shows after one exchange: a text, and a colour when it
// changes. Some failing exchanges show nothing of their own.
struct StepStatus {
    QString text;
    std::optional<StatusColour> colour;
};

// The one place that turns an exchange's outcome into what the status box shows
// while an operation runs.
std::optional<StepStatus> statusAfterStep(StepKind kind, LinkOutcome outcome);

// Why a port could not be opened, as the status box adds it ("IN USE BY ANOTHER
// PROGRAM"); empty when the system gave no reason the person could act on.
QString portOpenReason(PortOpenError error);

} // namespace kdr
