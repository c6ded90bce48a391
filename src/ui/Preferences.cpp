#include "Preferences.h"

#include <QSettings>
#include <QStandardPaths>

namespace kdr::Preferences {

namespace {
const QString kPortKey = QStringLiteral("serial/port");
const QString kFolderKey = QStringLiteral("files/folder");

void store(const QString &key, const QString &value)
{
    QSettings settings;
    settings.setValue(key, value);
    // Kept at once, not only when the program ends: a crash or a power cut must not forget it.
    settings.sync();
}
} // namespace

QString rememberedPort()
{
    return QSettings().value(kPortKey).toString();
}

void rememberPort(const QString &device)
{
    store(kPortKey, device);
}

QString fileFolder()
{
    const QString folder = QSettings().value(kFolderKey).toString();
    return folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : folder;
}

void rememberFileFolder(const QString &folder)
{
    store(kFolderKey, folder);
}

} // namespace kdr::Preferences
