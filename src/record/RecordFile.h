// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ProductionRecord.h"

#include <QList>
#include <QString>

#include <mutex>

namespace kdr {

// A production record on disk. Each entry is appended as one whole line in one write
// and flushed to the disk before append() returns, so that whatever happens to the
// program afterwards (kill -9, a power cut) leaves every earlier line whole; programs
// appending to the same local file never interleave within a line. The file is opened
// by its name for every entry, so that a folder that went away is noticed, not written
// into a file nobody can find. Safe to share between threads.
class RecordFile {
public:
    explicit RecordFile(QString path) : m_path(std::move(path)) {}

    QString path() const { return m_path; }

    // Why an entry could not be appended now, or nothing: the folder gone, no
    // permission, something there that is not a regular file, the disk (nearly) full.
    // Creates the file when it is missing.
    QString problemAppending() const;

    // Empty on success, else why not all of it reached the disk.
    QString append(const RecordEntry &entry);

private:
    QString m_path;
    mutable std::mutex m_mutex; // the ports of one program append one at a time
};

// A record read back. A last line cut short (the program ended while writing it) is
// left out and said; any other line that is no entry makes the file no record.
struct RecordContents {
    QList<RecordEntry> entries;
    bool tornLastLine = false;
    QString problem; // why the file is no record, or could not be read
};

RecordContents readRecord(const QString &path);

} // namespace kdr
