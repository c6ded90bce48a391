// SPDX-License-Identifier: GPL-3.0-or-later
#include "StepStatus.h"

#include "model/StatusTexts.h"

namespace kdr {

using namespace StatusTexts;

std::optional<StepStatus> statusAfterStep(StepKind kind, LinkOutcome outcome)
{
    switch (outcome) {
    case LinkOutcome::Ok:
        // A verified write turns the box yellow; a read leaves its colour alone.
        if (kind == StepKind::Write)
            return StepStatus{kCommunicationsOk, StatusColour::Yellow};
        return StepStatus{kCommunicationsOk, std::nullopt};
    case LinkOutcome::ShortReply:
    case LinkOutcome::NotANumber:
    case LinkOutcome::LateBytes:
        return StepStatus{kCorrupted, std::nullopt};
    case LinkOutcome::OutOfRange:
        return StepStatus{kOutOfRange, std::nullopt};
    case LinkOutcome::Mismatch:
        return StepStatus{kFailedToVerify, std::nullopt};
    case LinkOutcome::NoAcknowledgement:
    case LinkOutcome::ConnectionLost:
    case LinkOutcome::Interrupted:
        break;
    }
    return std::nullopt;
}

QString portOpenReason(PortOpenError error)
{
    switch (error) {
    case PortOpenError::InUse:
        return kPortInUse;
    case PortOpenError::PermissionDenied:
        return kPortPermissionDenied;
    case PortOpenError::NoSuchPort:
        return kPortMissing;
    case PortOpenError::NotASerialPort:
        return kPortNotSerial;
    case PortOpenError::None:
    case PortOpenError::Other:
        break;
    }
    return {};
}

} // namespace kdr
