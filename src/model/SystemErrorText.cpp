// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemErrorText.h"

#include <cerrno>
#include <cstring>

namespace kdr {

namespace {

struct KnownError {
    int code;
    const char *plain;
};

// The system's own error texts turned into words a technician understands.
const KnownError kKnownErrors[] = {
    {ENOSPC, "the disk is full"},
#ifdef EDQUOT
    {EDQUOT, "the disk quota is used up"},
#endif
    {EACCES, "permission denied"},
    {EPERM, "permission denied"},
    {EROFS, "the disk is read-only"},
    {ENOENT, "the file or its folder does not exist"},
    {ENOTDIR, "the folder does not exist"},
    {EISDIR, "it is a folder"},
    {EFBIG, "the file would pass the size limit set for this program"},
    {ENAMETOOLONG, "the name is too long"},
    {EIO, "the disk reported an error"},
};

} // namespace

QString plainSystemError(int code)
{
    for (const KnownError &known : kKnownErrors)
        if (known.code == code)
            return QString::fromLatin1(known.plain);
    return QString::fromLocal8Bit(std::strerror(code));
}

// Qt reports a failed file operation by the system's error text; find which error it was.
QString plainSystemError(const QString &systemText)
{
    for (const KnownError &known : kKnownErrors)
        if (systemText.contains(QString::fromLocal8Bit(std::strerror(known.code)), Qt::CaseInsensitive))
            return QString::fromLatin1(known.plain);
    return systemText.isEmpty() ? QStringLiteral("the system gave no reason") : systemText;
}

} // namespace kdr
