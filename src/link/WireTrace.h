// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>

namespace kdr {

// The wire trace: every byte sent to and received from a panel, in hex, with the
// milliseconds since the program started and the port. Off by default; switched on
// with QT_LOGGING_RULES="kdr.link.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcWire)

enum class WireDirection { Sent, Received, Dropped };

void traceWire(const QString &device, WireDirection direction, const QByteArray &bytes);

} // namespace kdr
