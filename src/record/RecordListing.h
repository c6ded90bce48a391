// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProductionRecord.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace kdr::RecordListing {

// Which entries to show: from a time on (a date alone is that day's local midnight),
// at one port.
struct Filter {
    std::optional<QDateTime> since;
    QString port;
};

// A date ("2026-12-10") or a date and time ("2026-12-10T14:30", with Z or an offset
// for UTC rather than local time), or nothing when it is neither.
std::optional<QDateTime> parseSince(const QString &text);

QList<RecordEntry> filtered(const QList<RecordEntry> &entries, const Filter &filter);

// One entry a row, in columns: local time, port, command, the panel's name, result,
// seconds, file; texts from the record as given (the caller makes them safe for a
// terminal).
QString table(const QList<RecordEntry> &entries);

// Every field of every entry, for a spreadsheet: RFC 4180 (fields quoted where they
// hold a comma, a quote or a line end, lines ended by CR LF), UTF-8 with a byte order
// mark, so that a spreadsheet on Windows reads the text right.
QByteArray csv(const QList<RecordEntry> &entries);

} // namespace kdr::RecordListing
