// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialLock.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <unistd.h>
#endif

namespace kdr {

#ifdef Q_OS_UNIX

namespace {

// The names other programs lock the device by: the device's own name, and the
// name Qt derives from the path given ("/dev/pts/3" → "pts_3").
QStringList lockNames(const QString &device)
{
    QStringList names;
    const auto add = [&names](const QString &path) {
        QString name = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
        name.replace(QLatin1Char('/'), QLatin1Char('_'));
        for (const QString &candidate :
             {QStringLiteral("LCK..") + name, QStringLiteral("LCK..") + QFileInfo(path).fileName()})
            if (!names.contains(candidate))
                names << candidate;
    };
    add(device);
    const QString real = QFileInfo(device).canonicalFilePath();
    if (!real.isEmpty())
        add(real);
    return names;
}

qint64 processNumberIn(const QByteArray &content)
{
    if (content.size() == 4 && !content.contains('\n')) {
        qint32 binary = 0;
        std::memcpy(&binary, content.constData(), sizeof binary);
        return binary;
    }
    bool ok = false;
    const qint64 pid = content.left(content.indexOf('\n')).trimmed().toLongLong(&ok);
    return ok ? pid : 0;
}

bool isRunning(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

} // namespace

bool lockedByAnotherProgram(const QString &device)
{
    for (const char *folder : {"/run/lock/", "/var/lock/"}) {
        for (const QString &name : lockNames(device)) {
            QFile lock(QString::fromLatin1(folder) + name);
            if (!lock.open(QIODevice::ReadOnly))
                continue;
            const qint64 pid = processNumberIn(lock.read(64));
            if (pid != ::getpid() && isRunning(pid))
                return true;
        }
    }
    return false;
}

#else

bool lockedByAnotherProgram(const QString &)
{
    return false;
}

#endif

} // namespace kdr
