// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace kdr::cli {

enum class Stream { Out, Err };

// Writes UTF-8 text to standard output or standard error as the place it leads to
// expects it: as UTF-8 to a file or a pipe, and on Windows to a console as the
// console's own wide characters, so that "CAFÉ" shows as such whatever code page
// the console was given. False when not all of it arrived (a full disk, a closed
// pipe or descriptor); errno then says why.
bool writeText(Stream stream, const QByteArray &utf8);

// The system's reason for the last failed write, in its own words.
QString lastWriteError();

// A text from a file or the command line as a terminal may show it: control
// characters and the backslash written as \xHH, the invisible format characters
// (among them the bidirectional controls, which would show what follows in another
// order) and the line and paragraph separators as \uHHHH, so that no name can move
// the cursor, retitle the terminal, start a line of its own or disguise itself.
QString terminalSafe(const QString &text);
// The same for a text that holds paths: on Windows, where the backslash separates a
// path's parts, it stays as it is.
QString terminalSafePath(const QString &text);

} // namespace kdr::cli
