// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordListing.h"

#include <QStringList>
#include <QTimeZone>

#include <algorithm>

namespace kdr::RecordListing {

namespace {

QString codesText(const std::array<std::optional<Code>, kSwitchCount> &codes)
{
    QStringList texts;
    for (const auto &code : codes)
        texts << (code ? QString::number(*code) : QStringLiteral("-"));
    return std::all_of(codes.begin(), codes.end(), [](const auto &c) { return !c; }) ? QString()
                                                                                     : texts.join(QLatin1Char(' '));
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
        !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

std::optional<QDateTime> parseSince(const QString &text)
{
    if (const QDate day = QDate::fromString(text, Qt::ISODate); day.isValid() && text.size() == 10)
        return day.startOfDay();
    const QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (time.isValid())
        return time;
    return std::nullopt;
}

QList<RecordEntry> filtered(const QList<RecordEntry> &entries, const Filter &filter)
{
    QList<RecordEntry> kept;
    for (const RecordEntry &entry : entries)
        if ((!filter.since || entry.time >= *filter.since) && (filter.port.isEmpty() || entry.port == filter.port))
            kept << entry;
    return kept;
}

QString table(const QList<RecordEntry> &entries)
{
    QList<QStringList> rows{{QStringLiteral("TIME"), QStringLiteral("PORT"), QStringLiteral("COMMAND"),
                             QStringLiteral("PANEL"), QStringLiteral("RESULT"), QStringLiteral("SECONDS"),
                             QStringLiteral("FILE")}};
    for (const RecordEntry &e : entries)
        rows << QStringList{e.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                            e.port,
                            e.command,
                            e.panelName,
                            e.status,
                            QString::number(e.seconds, 'f', 1),
                            e.file};
    // Every column but the last as wide as its widest cell.
    QList<qsizetype> widths(rows.first().size() - 1, 0);
    for (const QStringList &row : rows)
        for (qsizetype c = 0; c < widths.size(); ++c)
            widths[c] = std::max(widths[c], row[c].size());
    QString text;
    for (const QStringList &row : rows) {
        QString line;
        for (qsizetype c = 0; c < row.size(); ++c)
            line += c < widths.size() ? row[c].leftJustified(widths[c] + 2) : row[c];
        text += line.trimmed() + QLatin1Char('\n');
    }
    return text;
}

QByteArray csv(const QList<RecordEntry> &entries)
{
    QStringList lines{QStringLiteral("time,host,user,version,command,port,adapter maker,adapter serial,file,file "
                                     "SHA-256,panel name,codes sent,codes read back,status,exit status,seconds")};
    for (const RecordEntry &e : entries) {
        const QStringList fields{e.time.toUTC().toString(Qt::ISODateWithMs),
                                 e.host,
                                 e.user,
                                 e.version,
                                 e.command,
                                 e.port,
                                 e.adapterMaker,
                                 e.adapterSerial,
                                 e.file,
                                 e.fileSha256,
                                 e.panelName,
                                 codesText(e.codesSent),
                                 codesText(e.codesReadBack),
                                 e.status,
                                 QString::number(e.exitStatus),
                                 QString::number(e.seconds, 'f', 3)};
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field);
        lines << quoted.join(QLatin1Char(','));
    }
    return "\xEF\xBB\xBF" + (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

} // namespace kdr::RecordListing
