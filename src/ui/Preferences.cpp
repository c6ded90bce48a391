// SPDX-License-Identifier: GPL-3.0-or-later
#include "Preferences.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

#include <memory>

namespace kdr::Preferences {

namespace {
const QString kPortKey = QStringLiteral("serial/port");
const QString kFolderKey = QStringLiteral("files/folder");

// On Windows an INI file in the user's application-data folder, for the tool writes
// no registry keys; elsewhere the platform's own place.
std::unique_ptr<QSettings> settings()
{
#ifdef Q_OS_WIN
    constexpr QSettings::Format format = QSettings::IniFormat;
#else
    constexpr QSettings::Format format = QSettings::NativeFormat;
#endif
    return std::make_unique<QSettings>(format, QSettings::UserScope, QCoreApplication::organizationName(),
                                       QCoreApplication::applicationName());
}

void store(const QString &key, const QString &value)
{
    const auto stored = settings();
    // Written only when it changes: a lock, a sync and a rename on every read would be waste.
    if (stored->contains(key) && stored->value(key).toString() == value)
        return;
    stored->setValue(key, value);
    // Kept at once, not only when the program ends: a crash or a power cut must not forget it.
    stored->sync();
}
} // namespace

QString rememberedPort()
{
    // A name no port has, put there by hand or by a broken write, is no choice at all.
    QString port = settings()->value(kPortKey).toString();
    for (const QChar c : port)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return {};
    return port;
}

void rememberPort(const QString &device)
{
    store(kPortKey, device);
}

QString fileFolder()
{
    const QString folder = settings()->value(kFolderKey).toString();
    return folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : folder;
}

void rememberFileFolder(const QString &folder)
{
    store(kFolderKey, folder);
}

} // namespace kdr::Preferences
