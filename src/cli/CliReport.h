// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ConsoleText.h"
#include "operations/PanelJobs.h"

#include "files/KdcFormat.h"
#include "link/SerialPorts.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace kdr::cli {

// Exit statuses of kdr-panel, in rising severity; with several ports the highest counts.
enum ExitStatus : int {
    kSucceeded = 0,
    kDiffers = 1,
    kUsage = 2, // also a file that cannot be read or is not valid
    kPortNotOpened = 3,
    kNoResponse = 4,
    kBadData = 5,      // also a failed read-back or a lost connection
    kOutputFailed = 6, // standard output, or the reading's file, could not be written
};

int exitStatusOf(const PortReport &report);

enum class Shown { Read, Write, Verify };
// The status line of one port: a verify's verdict, a stop, or the panel's status text.
QString statusOf(const PortReport &report, Shown what);

// "B  4  (13)", "N/A  (160)", "BL/MR  (159)"; "-" for a switch that was not read.
QString codeText(std::optional<Code> code);

// What each command prints, as text or as JSON Lines (one object a line).
QByteArray portsText(const QList<SerialPortDescription> &ports, bool json);
QByteArray showText(const KdcRecord &record, const std::array<Code, kSwitchCount> &codes, bool json);
QByteArray reportText(const QList<PortReport> &reports, Shown what, const std::array<Code, kSwitchCount> &expected,
                      bool json);

// kdr-panel find: each port greeted (answered, silent, or skipped and why), then the
// outcome in the status box's words; or a JSON object a port.
QByteArray findText(const QList<PortReport> &reports, bool json);
// 0 when a panel answered on some port, else 4.
int findStatus(const QList<PortReport> &reports);

// One plain line for standard error about a port that failed, or nothing; not yet
// made safe for a terminal.
QString problemLine(const PortReport &report);

} // namespace kdr::cli
