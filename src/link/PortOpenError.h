// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kdr {

// Why a serial port could not be opened.
enum class PortOpenError {
    None,
    NoSuchPort,
    NotASerialPort,
    PermissionDenied,
    InUse,
    Other,
};

} // namespace kdr
