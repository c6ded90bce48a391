// SPDX-License-Identifier: GPL-3.0-or-later
#include "ConfigurationFile.h"

#include "model/SystemErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kdr::ConfigurationFile {

namespace {

const QString kTooLarge = QStringLiteral("the file is larger than 1 MiB, too large for a configuration file");
const QString kReadOnly = QStringLiteral("the file is read-only");
// The longest name of one file that Windows and Linux file systems take (in UTF-16
// units on Windows, in bytes on Linux).
constexpr qsizetype kLongestName = 255;

#ifdef Q_OS_WIN
// Why Windows cannot hold this as a file's name, or nothing: a device's name (CON.kdc
// would write to the console), a character it keeps for itself (a.kdc:evil would
// write into a hidden stream of a.kdc), a blank or a dot at the end.
QString windowsNameProblem(const QString &name)
{
    static const QStringList kDevices = [] {
        QStringList devices{QStringLiteral("CON"), QStringLiteral("PRN"),    QStringLiteral("AUX"),
                            QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
        for (int n = 0; n <= 9; ++n)
            devices << QStringLiteral("COM%1").arg(n) << QStringLiteral("LPT%1").arg(n);
        return devices;
    }();
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed();
    if (kDevices.contains(stem, Qt::CaseInsensitive))
        return QStringLiteral("%1 is the name of a device on Windows").arg(stem);
    for (const QChar c : name) {
        if (c.unicode() < 0x20)
            return QStringLiteral("Windows allows no control character in a file's name");
        if (QStringLiteral("<>:\"|?*").contains(c))
            return QStringLiteral("Windows allows no '%1' in a file's name").arg(c);
    }
    if (name.endsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char('.')))
        return QStringLiteral("Windows allows no blank or dot at the end of a file's name");
    return {};
}
#endif

// Why the name alone cannot be saved under, or nothing.
QString nameProblem(const QString &name)
{
#ifdef Q_OS_WIN
    if (QString problem = windowsNameProblem(name); !problem.isEmpty())
        return problem;
    const qsizetype length = name.size();
#else
    const qsizetype length = QFile::encodeName(name).size();
#endif
    return length > kLongestName ? plainSystemError(ENAMETOOLONG) : QString();
}
const QString kNotRegular = QStringLiteral("it is not a regular file");

struct Bytes {
    std::optional<QByteArray> bytes;
    QString problem;
};

Bytes failed(const QString &problem)
{
    return {std::nullopt, problem};
}

#ifdef Q_OS_UNIX
// Opened without blocking (a pipe with no writer would wait for one forever) and
// checked to be a regular file before a byte is read.
Bytes readRegularFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return failed(plainSystemError(errno));
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return failed(plainSystemError(file.errorString()));
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return failed(plainSystemError(errno));
    if (S_ISDIR(info.st_mode))
        return failed(plainSystemError(EISDIR));
    if (!S_ISREG(info.st_mode))
        return failed(kNotRegular);
    if (info.st_size > Kdc::kMaxFileSize)
        return failed(kTooLarge);
    QByteArray bytes = file.read(Kdc::kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return failed(plainSystemError(file.errorString()));
    return {std::move(bytes), {}};
}
#else
Bytes readRegularFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failed(plainSystemError(ENOENT));
    if (!info.isFile())
        return failed(kNotRegular);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed(plainSystemError(file.errorString()));
    if (file.size() > Kdc::kMaxFileSize)
        return failed(kTooLarge);
    return {file.read(Kdc::kMaxFileSize + 1), {}};
}
#endif

} // namespace

Loaded load(const QString &path)
{
    const Bytes read = readRegularFile(path);
    if (!read.bytes)
        return {std::nullopt, read.problem, {}};
    // A file that grew past the limit after it was looked at.
    if (read.bytes->size() > Kdc::kMaxFileSize)
        return {std::nullopt, kTooLarge, {}};
    QString problem;
    auto record = Kdc::parse(*read.bytes, &problem);
    return {std::move(record), problem, *read.bytes};
}

QString problemSavingTo(const QString &path)
{
    const QFileInfo target(path);
    if (target.fileName().isEmpty())
        return plainSystemError(EISDIR);
    if (QString problem = nameProblem(target.fileName()); !problem.isEmpty())
        return problem;
    // A pipe or a device would be replaced by a plain file, or written to.
    if (target.exists() && !target.isFile())
        return target.isDir() ? plainSystemError(EISDIR) : kNotRegular;
    if (target.exists() && !target.isWritable())
        return kReadOnly;
    // A link is saved through, to where it points.
    const QFileInfo written = target.isSymLink() ? QFileInfo(target.symLinkTarget()) : target;
    const QFileInfo folder(written.absolutePath());
    if (!folder.isDir())
        return plainSystemError(ENOENT);
    if (!folder.isWritable() && !(written.exists() && written.isWritable()))
        return plainSystemError(EACCES);
    return {};
}

QString save(const QString &path, const QByteArray &bytes)
{
    if (QString problem = problemSavingTo(path); !problem.isEmpty())
        return problem;
#ifdef Q_OS_UNIX
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QSaveFile file(path);
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isWritable() && QFileInfo(path).isWritable())
        file.setDirectWriteFallback(true);
    // Unbuffered, so that a short write (a full disk) shows here and not as a
    // silently truncated file after commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return plainSystemError(file.errorString());
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        // A write cut short (a full disk, the file-size limit) may leave Qt without
        // an error text of its own; the system's error code still tells why.
        const int code = errno;
        QString reason = file.error() != QFileDevice::NoError || code == 0 ? plainSystemError(file.errorString())
                                                                           : plainSystemError(code);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return plainSystemError(file.errorString());
    return {};
}

QString fileNameFor(const QString &panelName)
{
    static const QString kNotInFileNames = QStringLiteral("/\\:*?\"<>|");
    QString name = panelName;
    for (QChar &c : name)
        if (kNotInFileNames.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    while (name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (name.isEmpty())
        name = QStringLiteral("_");
    return name + QStringLiteral(".kdc");
}

QString openedPanelName(const KdcRecord &record)
{
    return record.panel.left(kPanelNameMaxLength);
}

void apply(const KdcRecord &record, WorkingState &state, SwitchPanelView &view)
{
    state.panel = openedPanelName(record);
    for (int i = 0; i < kSwitchCount; ++i) {
        state.sw[i].desig = record.designations[i];
        state.sw[i].s = record.codes[i];
    }
    state.BL = record.closing;

    view.setPanelNameText(state.panel);
    for (int i = 0; i < kSwitchCount; ++i) {
        view.setDesignationText(i, state.sw[i].desig);
        view.setDesignationVisible(i, true);
        state.A = state.sw[i].s;
        selectDecodedCode(state, view, i);
    }
}

KdcRecord recordOf(const WorkingState &state, const SwitchPanelView &view)
{
    KdcRecord record;
    record.panel = view.panelNameText();
    for (int i = 0; i < kSwitchCount; ++i) {
        record.designations[i] = view.designationText(i);
        record.codes[i] = state.sw[i].w;
    }
    record.closing = state.BL;
    return record;
}

} // namespace kdr::ConfigurationFile
