// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace kdr {

// A failed file operation's reason in words a technician understands ("the disk is
// full", "permission denied"), from the system's error code, or from the system's
// own error text (which Qt reports); anything else in the system's own words.
QString plainSystemError(int code);
QString plainSystemError(const QString &systemText);

} // namespace kdr
