// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecordKeeping.h"

#include "ConsoleText.h"
#include "CliReport.h"

#include "link/SerialPorts.h"
#include "record/RecordListing.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace kdr::cli {

namespace {

QString sha256Of(const QByteArray &bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

// The adapter behind a port, where the system reports it (a link under
// /dev/serial/by-id names the same device as its target).
SerialPortDescription adapterOf(const QString &port)
{
    const QString target = QFileInfo(port).canonicalFilePath();
    for (const SerialPortDescription &known : availableSerialPorts())
        if (known.device == port || (!target.isEmpty() && QFileInfo(known.device).canonicalFilePath() == target))
            return known;
    return {};
}

const char *commandName(Command command)
{
    switch (command) {
    case Command::Station:
        return "station";
    case Command::Write:
        return "write";
    case Command::Verify:
        return "verify";
    default:
        return "read";
    }
}

} // namespace

RecordKeeper::RecordKeeper(const CliRequest &request, const QByteArray &fileBytes, const QString &panelName,
                           std::optional<std::array<Code, kSwitchCount>> codesSent)
    : m_file(request.log), m_command(QString::fromLatin1(commandName(request.command))), m_panelName(panelName),
      m_codesSent(codesSent)
{
    if (!request.file.isEmpty()) {
        m_configuration = request.file;
        m_sha256 = sha256Of(fileBytes);
    }
}

void RecordKeeper::setSavedFile(const QString &file, const QByteArray &bytes)
{
    m_configuration = file;
    m_sha256 = sha256Of(bytes);
}

QString RecordKeeper::append(const PortReport &report, const QString &status, int exitStatus)
{
    RecordEntry entry = Record::stamped(m_command, report.device);
    const SerialPortDescription adapter = adapterOf(report.device);
    entry.adapterMaker = adapter.manufacturer;
    entry.adapterSerial = adapter.serialNumber;
    entry.file = m_configuration;
    entry.fileSha256 = m_sha256;
    entry.panelName = m_panelName;
    if (m_codesSent)
        for (int i = 0; i < kSwitchCount; ++i)
            entry.codesSent[i] = (*m_codesSent)[i];
    entry.codesReadBack = report.result.codesRead;
    entry.status = status;
    entry.exitStatus = exitStatus;
    entry.seconds = report.seconds;
    return m_file.append(entry);
}

int showRecord(const CliRequest &request)
{
    const RecordContents contents = readRecord(request.file);
    if (!contents.problem.isEmpty()) {
        writeText(Stream::Err,
                  terminalSafePath(QStringLiteral("kdr-panel: %1: %2\n").arg(request.file, contents.problem)).toUtf8());
        return kUsage;
    }
    QList<RecordEntry> shown = RecordListing::filtered(contents.entries, {request.since, request.ports.value(0)});
    if (!request.csv) {
        // What a record holds reaches the terminal as any other file's text does.
        for (RecordEntry &entry : shown)
            for (QString *text : {&entry.port, &entry.command, &entry.panelName, &entry.status, &entry.file})
                *text = terminalSafePath(*text);
    }
    const QByteArray text = request.csv ? RecordListing::csv(shown) : RecordListing::table(shown).toUtf8();
    if (!writeText(Stream::Out, text)) {
        writeText(Stream::Err,
                  QStringLiteral("kdr-panel: standard output: could not write: %1\n").arg(lastWriteError()).toUtf8());
        return kOutputFailed;
    }
    if (contents.tornLastLine)
        writeText(Stream::Err, terminalSafePath(QStringLiteral("kdr-panel: %1: the last line was cut short and is left "
                                                               "out\n")
                                                    .arg(request.file))
                                   .toUtf8());
    return kSucceeded;
}

} // namespace kdr::cli
