// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace kdr::cli {

enum class Command { Ports, Read, Write, Verify, Show, Station, Log, Sheet, Find };

// What kdr-panel was asked to do.
struct CliRequest {
    Command command = Command::Ports;
    QString file;                   // write, verify, show, station; log: the record
    QStringList ports;              // read, write, verify, station (port 1 when none was named); log: one to show
    QString log;                    // station, write, verify, read: the production record to append to
    int count = 0;                  // station: panels to program at each port (0: no end)
    bool csv = false;               // log
    std::optional<QDateTime> since; // log
    QString output;                 // read: the .kdc file to save the reading in; sheet: the PDF
    QString sheet;                  // read: a configuration sheet (PDF) of the reading
    QString panelName;              // read with --output or --sheet
    bool json = false;
    bool trace = false;
    bool simulatedPanel = false; // a panel inside the program instead of ports

    // Whether the command draws (a configuration sheet), and so needs fonts.
    bool draws() const { return command == Command::Sheet || !sheet.isEmpty(); }
};

const char *usage();

// The request, or, when the program is to end at once, its exit status: 0 after
// --help or --version (printed), 2 after a mistake (said on standard error).
std::optional<CliRequest> parseArguments(int argc, char *argv[], int &exitStatus);

} // namespace kdr::cli
