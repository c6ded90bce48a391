// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordFile.h"

#include "model/SystemErrorText.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kdr {

namespace {

// Below this much free space an entry is not risked: a panel must not be programmed
// whose record cannot be kept.
constexpr qint64 kLeastFreeSpace = qint64(1024) * 1024;

// Appends the bytes in one write and flushes them to the disk; empty on success.
QString appendWhole(const QString &path, const QByteArray &bytes)
{
#ifdef Q_OS_WIN
    // Append access without write access: every write goes to the file's end in one
    // step. Read access only so that the handle may take a lock.
    const HANDLE file = ::CreateFileW(
        reinterpret_cast<const wchar_t *>(path.utf16()), FILE_APPEND_DATA | FILE_READ_DATA | SYNCHRONIZE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return plainSystemError(::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : ENOENT);
    // Writers take turns on a byte far past any record's end: not every file system
    // keeps two handles' appends apart (Wine's does not), a lock is kept everywhere.
    // Without locks, the append alone.
    OVERLAPPED turn{};
    turn.OffsetHigh = 0x7fffffff;
    const bool locked = ::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn);
    DWORD written = 0;
    const bool whole =
        ::WriteFile(file, bytes.constData(), DWORD(bytes.size()), &written, nullptr) && written == DWORD(bytes.size());
    const DWORD failure = whole ? 0 : ::GetLastError();
    const bool flushed = whole && ::FlushFileBuffers(file);
    if (locked)
        ::UnlockFileEx(file, 0, 1, 0, &turn);
    ::CloseHandle(file);
    if (!whole)
        return plainSystemError(failure == ERROR_DISK_FULL || failure == ERROR_HANDLE_DISK_FULL ? ENOSPC : EIO);
    return flushed ? QString() : plainSystemError(EIO);
#else
    const bool existed = QFileInfo::exists(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return plainSystemError(errno);
    const ssize_t written = ::write(fd, bytes.constData(), size_t(bytes.size()));
    const int failure = written < 0 ? errno : ENOSPC;
    const bool whole = written == ssize_t(bytes.size());
    const bool synced = whole && ::fsync(fd) == 0;
    const int syncFailure = errno;
    ::close(fd);
    if (!whole)
        return plainSystemError(failure);
    if (!synced)
        return plainSystemError(syncFailure);
    // A new file's name is on the disk only once its folder is.
    if (!existed) {
        const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
    return {};
#endif
}

} // namespace

QString RecordFile::problemAppending() const
{
    const std::lock_guard lock(m_mutex);
    const QFileInfo file(m_path);
    if (file.exists() && !file.isFile())
        return file.isDir() ? plainSystemError(EISDIR) : QStringLiteral("it is not a regular file");
    if (QString problem = appendWhole(m_path, {}); !problem.isEmpty())
        return problem;
    const QStorageInfo disk(file.absolutePath());
    if (disk.isValid() && disk.bytesAvailable() >= 0 && disk.bytesAvailable() < kLeastFreeSpace)
        return plainSystemError(ENOSPC);
    return {};
}

QString RecordFile::append(const RecordEntry &entry)
{
    const std::lock_guard lock(m_mutex);
    return appendWhole(m_path, Record::line(entry));
}

RecordContents readRecord(const QString &path)
{
    RecordContents contents;
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        contents.problem =
            QFileInfo::exists(path) ? QStringLiteral("it is not a regular file") : plainSystemError(ENOENT);
        return contents;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        contents.problem = plainSystemError(file.errorString());
        return contents;
    }
    const QByteArray bytes = file.readAll();
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QByteArray &text = lines[n];
        const bool last = n == lines.size() - 1; // what follows the last line end
        if (text.trimmed().isEmpty())
            continue;
        if (auto entry = Record::parse(text)) {
            contents.entries << *entry;
        } else if (last && text.startsWith('{')) {
            // Cut short: the beginning of an entry with no line end after it.
            contents.tornLastLine = true;
        } else {
            contents.problem = QStringLiteral("not a production record: line %1 is no record entry").arg(n + 1);
            contents.entries.clear();
            return contents;
        }
    }
    return contents;
}

} // namespace kdr
