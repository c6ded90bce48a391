// SPDX-License-Identifier: GPL-3.0-or-later
#include "WireTrace.h"

#include <QElapsedTimer>

namespace kdr {

Q_LOGGING_CATEGORY(lcWire, "kdr.link", QtWarningMsg)

namespace {

// Started when the program is loaded, so that the trace's times count from its start.
const QElapsedTimer kProgramClock = [] {
    QElapsedTimer clock;
    clock.start();
    return clock;
}();

const char *arrow(WireDirection direction)
{
    switch (direction) {
    case WireDirection::Sent:
        return "->";
    case WireDirection::Received:
        return "<-";
    case WireDirection::Dropped:
        return "x ";
    }
    return "";
}

} // namespace

void traceWire(const QString &device, WireDirection direction, const QByteArray &bytes)
{
    if (!lcWire().isDebugEnabled() || bytes.isEmpty())
        return;
    const double ms = double(kProgramClock.nsecsElapsed()) / 1e6;
    qCDebug(lcWire).noquote() << QString::number(ms, 'f', 3) << "ms" << device << arrow(direction) << bytes.toHex(' ');
}

} // namespace kdr
