// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProductionRecord.h"

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSysInfo>

namespace kdr::Record {

namespace {

QJsonArray codesJson(const std::array<std::optional<Code>, kSwitchCount> &codes)
{
    QJsonArray array;
    for (const auto &code : codes)
        array << (code ? QJsonValue(int(*code)) : QJsonValue(QJsonValue::Null));
    return array;
}

bool readCodes(const QJsonValue &value, std::array<std::optional<Code>, kSwitchCount> &codes)
{
    const QJsonArray array = value.toArray();
    if (array.size() != kSwitchCount)
        return false;
    for (int i = 0; i < kSwitchCount; ++i) {
        if (array[i].isNull())
            codes[i].reset();
        else if (array[i].isDouble())
            codes[i] = Code(array[i].toInt());
        else
            return false;
    }
    return true;
}

// The keys every entry has, in the order a reader sees them.
const QString kTime = QStringLiteral("time");
const QString kCommand = QStringLiteral("command");
const QString kPort = QStringLiteral("port");
const QString kExitStatus = QStringLiteral("exitStatus");

// Who runs the program: the environment says so on a desktop, the system otherwise
// (a service, a cron job, su).
QString userName()
{
    QString name = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
#ifdef Q_OS_UNIX
    if (name.isEmpty())
        if (const passwd *entry = ::getpwuid(::geteuid()))
            name = QString::fromLocal8Bit(entry->pw_name);
#endif
    return name;
}

} // namespace

QByteArray line(const RecordEntry &entry)
{
    const QJsonObject object{
        {kTime, entry.time.toUTC().toString(Qt::ISODateWithMs)},
        {QStringLiteral("host"), entry.host},
        {QStringLiteral("user"), entry.user},
        {QStringLiteral("version"), entry.version},
        {kCommand, entry.command},
        {kPort, entry.port},
        {QStringLiteral("adapterMaker"), entry.adapterMaker},
        {QStringLiteral("adapterSerial"), entry.adapterSerial},
        {QStringLiteral("file"), entry.file},
        {QStringLiteral("fileSha256"), entry.fileSha256},
        {QStringLiteral("panelName"), entry.panelName},
        {QStringLiteral("codesSent"), codesJson(entry.codesSent)},
        {QStringLiteral("codesReadBack"), codesJson(entry.codesReadBack)},
        {QStringLiteral("status"), entry.status},
        {kExitStatus, entry.exitStatus},
        {QStringLiteral("seconds"), entry.seconds},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<RecordEntry> parse(const QByteArray &line)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject o = document.object();
    RecordEntry entry;
    entry.time = QDateTime::fromString(o.value(kTime).toString(), Qt::ISODateWithMs);
    // An entry has at least its time, what was done, where, and how it ended.
    if (!entry.time.isValid() || !o.value(kCommand).isString() || !o.value(kPort).isString() ||
        !o.value(kExitStatus).isDouble())
        return std::nullopt;
    entry.time = entry.time.toUTC();
    entry.host = o.value(QStringLiteral("host")).toString();
    entry.user = o.value(QStringLiteral("user")).toString();
    entry.version = o.value(QStringLiteral("version")).toString();
    entry.command = o.value(kCommand).toString();
    entry.port = o.value(kPort).toString();
    entry.adapterMaker = o.value(QStringLiteral("adapterMaker")).toString();
    entry.adapterSerial = o.value(QStringLiteral("adapterSerial")).toString();
    entry.file = o.value(QStringLiteral("file")).toString();
    entry.fileSha256 = o.value(QStringLiteral("fileSha256")).toString();
    entry.panelName = o.value(QStringLiteral("panelName")).toString();
    if (!readCodes(o.value(QStringLiteral("codesSent")), entry.codesSent) ||
        !readCodes(o.value(QStringLiteral("codesReadBack")), entry.codesReadBack))
        return std::nullopt;
    entry.status = o.value(QStringLiteral("status")).toString();
    entry.exitStatus = o.value(kExitStatus).toInt();
    entry.seconds = o.value(QStringLiteral("seconds")).toDouble();
    return entry;
}

RecordEntry stamped(const QString &command, const QString &port)
{
    RecordEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.host = QSysInfo::machineHostName();
    entry.user = userName();
    entry.version = QStringLiteral(KDR_VERSION);
    entry.command = command;
    entry.port = port;
    return entry;
}

} // namespace kdr::Record
