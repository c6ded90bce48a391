// SPDX-License-Identifier: GPL-3.0-or-later
#include "CliProgram.h"

#include "CliReport.h"
#include "RecordKeeping.h"
#include "SheetCommands.h"
#include "StationProgram.h"

#include "files/ConfigurationFile.h"
#include "link/PanelPort.h"
#include "model/HeadlessPanelView.h"
#include "operations/PanelSession.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTimer>

namespace kdr::cli {

namespace {

// A line on standard error, with whatever a file or the command line put into it
// made safe for a terminal.
void complain(const QString &line)
{
    writeText(Stream::Err, (terminalSafePath(line) + QLatin1Char('\n')).toUtf8());
}

// A panel name from a file name, as the name box would take it: what a file can
// store, without control characters, no longer than the box takes.
QString panelNameFrom(const QString &text)
{
    return Kdc::typeablePart(text).left(kPanelNameMaxLength);
}

} // namespace

CliProgram::CliProgram(CliRequest request, QObject *parent) : QObject(parent), m_request(std::move(request)) {}

CliProgram::~CliProgram() = default;

void CliProgram::show(const QByteArray &text)
{
    // Results that nobody gets (a full disk, a closed pipe) are no success.
    if (writeText(Stream::Out, text) || m_outputFailed)
        return;
    m_outputFailed = true;
    complain(QStringLiteral("kdr-panel: standard output: could not write: %1").arg(lastWriteError()));
}

void CliProgram::finish(int status)
{
    if (m_outputFailed && status < 128)
        status = std::max(status, int(kOutputFailed));
    QTimer::singleShot(0, qApp, [status] { QCoreApplication::exit(status); });
}

void CliProgram::start()
{
    if (m_request.trace)
        QLoggingCategory::setFilterRules(QStringLiteral("kdr.link.debug=true"));
    switch (m_request.command) {
    case Command::Ports:
        return finish(showPorts());
    case Command::Show:
        return finish(showFile());
    case Command::Read:
        if (!m_request.panelName.isEmpty() && panelNameFrom(m_request.panelName) != m_request.panelName) {
            complain(
                QStringLiteral("kdr-panel: --name: a configuration file cannot store \"%1\"").arg(m_request.panelName));
            return finish(kUsage);
        }
        if (!outputCanBeSaved())
            return finish(kUsage);
        if (!recordCanBeKept())
            return finish(kOutputFailed);
        return runOnPorts();
    case Command::Write:
    case Command::Verify:
    case Command::Station:
        if (!loadFile())
            return finish(kUsage);
        if (!recordCanBeKept())
            return finish(kOutputFailed);
        return m_request.command == Command::Station ? runStation() : runOnPorts();
    case Command::Log:
        return finish(showRecord(m_request));
    case Command::Sheet:
        if (!loadFile())
            return finish(kUsage);
        return finish(makeSheet(m_request.output, sheetOfFile(*m_record, m_request.file, m_fileCodes)));
    case Command::Find:
        // Every port the system lists, where none was named.
        if (m_request.ports.isEmpty())
            for (const SerialPortDescription &port : availableSerialPorts())
                m_request.ports << port.device;
        return runOnPorts();
    }
}

bool CliProgram::recordCanBeKept()
{
    if (m_request.log.isEmpty())
        return true;
    const bool writes = m_request.command == Command::Write || m_request.command == Command::Station;
    const QString name = m_record ? ConfigurationFile::openedPanelName(*m_record) : m_request.panelName;
    m_keeper = std::make_unique<RecordKeeper>(m_request, m_fileBytes, name,
                                              writes ? std::optional(m_fileCodes) : std::nullopt);
    const QString problem = m_keeper->problemAppending();
    if (problem.isEmpty())
        return true;
    // A panel must never be programmed, or read, without its record.
    complain(QStringLiteral("kdr-panel: %1: cannot keep the record there: %2").arg(m_request.log, problem));
    return false;
}

void CliProgram::runStation()
{
    m_station = std::make_unique<StationProgram>(m_request, *m_record, m_keeper.get(), m_line);
    connect(m_station.get(), &StationProgram::finished, this,
            [this](int status) { finish(m_stoppedBy ? 128 + m_stoppedBy : status); });
    if (m_stoppedBy)
        return finish(128 + m_stoppedBy);
    m_station->start();
}

bool CliProgram::outputCanBeSaved() const
{
    // Found before a port is opened, not after the whole panel was read.
    if (m_request.output.isEmpty())
        return true;
    QString problem = ConfigurationFile::problemSavingTo(m_request.output);
    if (problem.isEmpty() && m_request.panelName.isEmpty() &&
        panelNameFrom(QFileInfo(m_request.output).completeBaseName()).isEmpty())
        problem = QStringLiteral("its name gives no panel name (use --name)");
    if (problem.isEmpty())
        return true;
    complain(QStringLiteral("kdr-panel: %1: cannot save there: %2").arg(m_request.output, problem));
    return false;
}

void CliProgram::stop(int signalNumber)
{
    if (m_stoppedBy == 0)
        m_stoppedBy = signalNumber;
    if (m_station)
        m_station->stop();
    else if (m_jobs)
        m_jobs->interrupt();
    else
        finish(128 + signalNumber);
}

int CliProgram::showPorts()
{
    show(portsText(availableSerialPorts(), m_request.json));
    return kSucceeded;
}

int CliProgram::showFile()
{
    if (!loadFile())
        return kUsage;
    // The codes as the file holds them, not as an open would select them.
    show(showText(*m_record, m_record->codes, m_request.json));
    return kSucceeded;
}

bool CliProgram::loadFile()
{
    const ConfigurationFile::Loaded loaded = ConfigurationFile::load(m_request.file);
    if (!loaded.record) {
        complain(QStringLiteral("kdr-panel: %1: could not read: %2").arg(m_request.file, loaded.problem));
        return false;
    }
    m_record = loaded.record;
    m_fileBytes = loaded.bytes;
    if (m_request.command == Command::Show)
        return true;
    // What the window would write after opening this file: the file applied to the
    // lists, and the codes collected from them.
    WorkingState state;
    HeadlessPanelView view(state);
    ConfigurationFile::apply(*m_record, state, view);
    if (const auto incomplete = collectCodesForWriting(state, view)) {
        complain(
            QStringLiteral("kdr-panel: %1: SW%2 has a module but no channel").arg(m_request.file).arg(*incomplete + 1));
        return false;
    }
    for (int i = 0; i < kSwitchCount; ++i)
        m_fileCodes[i] = state.sw[i].w;
    return true;
}

void CliProgram::concludeRead(PanelSession &session, PortReport &report) const
{
    if (m_request.command == Command::Verify && report.result.succeeded()) {
        for (int i = 0; i < kSwitchCount; ++i)
            if (report.result.codesRead[i] != m_fileCodes[i])
                report.differences << i;
    }
    if (m_request.output.isEmpty() || !report.result.succeeded())
        return;
    // Saved as the window saves after a read: empty designations, the codes collected from the lists.
    WorkingState &state = session.state();
    HeadlessPanelView &view = session.headlessView();
    const QString name = readingPanelName();
    view.setPanelNameText(name);
    collectCodesForWriting(state, view);
    const auto line = Kdc::format(ConfigurationFile::recordOf(state, view));
    const QString problem = name.isEmpty() ? QStringLiteral("no panel name (use --name)")
                            : !line        ? QStringLiteral("the panel name holds a character the file cannot store")
                                           : ConfigurationFile::save(m_request.output, *line);
    if (!problem.isEmpty())
        report.problem = QStringLiteral("%1: could not save: %2").arg(m_request.output, problem);
    else if (m_keeper)
        m_keeper->setSavedFile(m_request.output, *line);
}

QString CliProgram::readingPanelName() const
{
    if (m_request.panelName.isEmpty() && !m_request.output.isEmpty())
        return panelNameFrom(QFileInfo(m_request.output).completeBaseName());
    return m_request.panelName;
}

void CliProgram::runOnPorts()
{
    std::optional<KdcRecord> written;
    if (m_request.command == Command::Write)
        written = m_record;
    PanelJobs::Prepare prepare = [written, line = m_line](PanelSession &session) {
        if (line)
            session.port().useInProcessLine(line);
        if (written)
            ConfigurationFile::apply(*written, session.state(), session.headlessView());
    };
    PanelJobs::Conclude conclude = [this](PanelSession &session, PortReport &report) { concludeRead(session, report); };
    const PanelJobs::Operation operation = m_request.command == Command::Write  ? PanelJobs::Operation::Write
                                           : m_request.command == Command::Find ? PanelJobs::Operation::Greet
                                                                                : PanelJobs::Operation::Read;
    m_jobs = std::make_unique<PanelJobs>(m_request.ports, operation, prepare, conclude);
    connect(m_jobs.get(), &PanelJobs::finished, this, &CliProgram::portsEnded);
    if (m_stoppedBy)
        m_jobs->interrupt();
    m_jobs->start();
}

void CliProgram::portsEnded(const QList<PortReport> &reports)
{
    if (m_request.command == Command::Find) {
        show(findText(reports, m_request.json));
        return finish(m_stoppedBy ? 128 + m_stoppedBy : findStatus(reports));
    }
    const Shown shown = m_request.command == Command::Write    ? Shown::Write
                        : m_request.command == Command::Verify ? Shown::Verify
                                                               : Shown::Read;
    show(reportText(reports, shown, m_fileCodes, m_request.json));
    int status = kSucceeded;
    for (const PortReport &report : reports) {
        if (const QString line = problemLine(report); !line.isEmpty())
            complain(line);
        status = std::max(status, exitStatusOf(report));
        if (!m_request.sheet.isEmpty() && report.result.succeeded()) {
            std::array<Code, kSwitchCount> read{};
            for (int i = 0; i < kSwitchCount; ++i)
                read[i] = report.result.codesRead[i].value_or(kCodeNotAssigned);
            status = std::max(status,
                              makeSheet(m_request.sheet, sheetOfReading(read, readingPanelName(), m_request.output)));
        }
        if (!m_keeper)
            continue;
        if (const QString problem = m_keeper->append(report, statusOf(report, shown), exitStatusOf(report));
            !problem.isEmpty()) {
            complain(QStringLiteral("kdr-panel: %1: could not write: %2").arg(m_request.log, problem));
            status = std::max(status, int(kOutputFailed));
        }
    }
    finish(m_stoppedBy ? 128 + m_stoppedBy : status);
}

} // namespace kdr::cli
