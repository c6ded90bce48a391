// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "KdcFormat.h"

#include "model/SwitchPanelView.h"
#include "model/WorkingState.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kdr {

// Reading and writing configuration files on disk, and moving a configuration
// between a file's record and the lists and boxes. Failures come back with their
// reason in plain words, for a person to read.
namespace ConfigurationFile {

struct Loaded {
    std::optional<KdcRecord> record;
    QString problem;  // why there is no record
    QByteArray bytes; // as read
};

// Reads and checks a whole file. Only a regular file of at most 1 MiB is read;
// anything else (a folder, a pipe, a device) is refused at once, without waiting
// on it.
Loaded load(const QString &path);

// Replaces the file in one step, so that a failed save leaves any earlier file as
// it was. Only where the folder cannot take the temporary file that this needs,
// but the file itself may be written, is the file written in place. A write past
// the process's file-size limit fails like a full disk instead of ending the
// program (SIGXFSZ is ignored from the first save on).
// An empty text on success, else the reason.
QString save(const QString &path, const QByteArray &bytes);

// Why a save to this path would fail before a byte is written: something there that
// is not a regular file (a pipe, a device), a missing folder, no permission; empty
// when nothing speaks against it. save() refuses the same.
QString problemSavingTo(const QString &path);

// What a save offers as the file name for a panel name: characters that cannot
// stand in a file name on Windows or Linux become "_", trailing blanks go, ".kdc" follows.
QString fileNameFor(const QString &panelName);

// The panel name as an open puts it into the name box, which holds 12 characters:
// what the window then shows and a save writes.
QString openedPanelName(const KdcRecord &record);

// Puts a record into the lists and boxes the way opening a file does: name and
// designations set and shown, each code decoded and selected.
void apply(const KdcRecord &record, WorkingState &state, SwitchPanelView &view);

// The record a save writes: the boxes' texts and the codes `CollectSwitchCodes` left.
KdcRecord recordOf(const WorkingState &state, const SwitchPanelView &view);

} // namespace ConfigurationFile

} // namespace kdr
