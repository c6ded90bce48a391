// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SwitchCodes.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

namespace kdr {

// One panel operation as the production record keeps it: which panel got which file,
// from where, and how it ended. The record is a file of such entries, one JSON object
// a line (JSON Lines).
struct RecordEntry {
    QDateTime time; // UTC, to the millisecond
    QString host;
    QString user;
    QString version;       // the tool's
    QString command;       // "station", "write", "verify" or "read"
    QString port;          // as named
    QString adapterMaker;  // where the system reports them
    QString adapterSerial; //
    QString file;          // the configuration file, where there is one
    QString fileSha256;    // of its bytes, in hex
    QString panelName;
    std::array<std::optional<Code>, kSwitchCount> codesSent{};     // a write's
    std::array<std::optional<Code>, kSwitchCount> codesReadBack{}; // as the panel gave them
    QString status;                                                // the status text
    int exitStatus = 0;
    double seconds = 0;

    bool succeeded() const { return exitStatus == 0; }
};

namespace Record {

// The entry as one line of the record, ended by a line feed, in UTF-8.
QByteArray line(const RecordEntry &entry);

// The entry a line holds (without its line end), or nothing when it is no entry.
std::optional<RecordEntry> parse(const QByteArray &line);

// What a record entry says of the computer and the user, now.
RecordEntry stamped(const QString &command, const QString &port);

} // namespace Record

} // namespace kdr
