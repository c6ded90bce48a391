// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SwitchCodes.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace kdr {

// One panel configuration as a .kdc file holds it: a single line of 22
// comma-separated fields ended by CR LF — the panel name, then for SW1 … SW10 the
// designation and the switch code, then the closing value 159. Texts stand in
// double quotes without escaping, integers in plain decimal, one byte per
// character in Windows-1252.
struct KdcRecord {
    QString panel;
    std::array<QString, kSwitchCount> designations;
    std::array<Code, kSwitchCount> codes{};
    Code closing = kClosingValue;
};

namespace Kdc {

constexpr int kFieldCount = 22;
constexpr qint64 kMaxFileSize = qint64(1024) * 1024; // far beyond any line the tool writes

// Empty when a text holds a character that cannot be stored in one byte.
std::optional<QByteArray> format(const KdcRecord &record);

// Reads the 22 fields and ignores whatever follows. Fails for a file that ends
// before the 22nd field, or an integer outside −32768 … 32767; an integer field
// that is not a number reads as 0. A text field in quotes runs to the next quote.
// A UTF-8 byte order mark in front (editors on Windows write one) is skipped.
// On failure `problem`, if given, says why in plain words.
std::optional<KdcRecord> parse(const QByteArray &bytes, QString *problem = nullptr);

// Whether a text survives a save and an open unchanged: no double quote, and
// only characters the file can store in one byte.
bool isStorable(const QString &text);

// Whether a person may put the character into a stored text: storable, and no
// control character (below 0x20, or 0x7F), which would break the file's one line
// for other readers.
bool isTypeable(QChar c);
// The typeable characters of a text, in order.
QString typeablePart(const QString &text);

} // namespace Kdc

} // namespace kdr
