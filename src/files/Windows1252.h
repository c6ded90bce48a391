// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kdr {

// The 8-bit character set of the configuration files, one byte per character.
// All 256 bytes decode (the five that Windows-1252 leaves unassigned to the C1
// controls of the same value), so every byte of any file survives an open and a
// save unchanged.
namespace Windows1252 {

QString decode(const QByteArray &bytes);
bool canEncode(QChar c);
// Empty when the text holds a character that has no byte.
std::optional<QByteArray> encode(const QString &text);

} // namespace Windows1252

} // namespace kdr
