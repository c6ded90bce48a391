// SPDX-License-Identifier: GPL-3.0-or-later
#include "StationProgram.h"

#include "CliReport.h"
#include "ConsoleText.h"
#include "RecordKeeping.h"

#include "files/ConfigurationFile.h"
#include "link/PanelPort.h"
#include "model/HeadlessPanelView.h"
#include "operations/PanelSession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <algorithm>

namespace kdr::cli {

struct StationProgram::Port {
    QString device;
    std::unique_ptr<PanelSession> session;
    std::unique_ptr<StationLoop> loop;
    std::unique_ptr<QThread> thread;
    int programmed = 0;
    int failed = 0;
};

StationProgram::StationProgram(const CliRequest &request, KdcRecord record, RecordKeeper *keeper, InProcessLine *line,
                               QObject *parent)
    : QObject(parent), m_request(request), m_record(std::move(record)), m_keeper(keeper), m_line(line)
{
    for (const QString &device : m_request.ports) {
        auto port = std::make_unique<Port>();
        port->device = device;
        port->session = std::make_unique<PanelSession>(device);
        port->loop = std::make_unique<StationLoop>(*port->session, *this, m_request.count);
        port->thread = std::make_unique<QThread>();
        port->thread->setObjectName(device);
        m_portWidth = std::max(m_portWidth, terminalSafePath(device).size());
        m_ports.push_back(std::move(port));
    }
}

StationProgram::~StationProgram()
{
    stop();
    for (const auto &port : m_ports) {
        port->thread->quit();
        port->thread->wait();
    }
}

void StationProgram::start()
{
    m_running = int(m_ports.size());
    for (const auto &port : m_ports) {
        PanelSession *session = port->session.get();
        StationLoop *loop = port->loop.get();
        session->moveToThread(port->thread.get());
        loop->moveToThread(port->thread.get());
        // What a write would send: the file applied to the lists, in the port's thread.
        QMetaObject::invokeMethod(loop, [this, session, loop] {
            if (m_line)
                session->port().useInProcessLine(m_line);
            ConfigurationFile::apply(m_record, session->state(), session->headlessView());
            loop->start();
        });
        port->thread->start();
    }
}

void StationProgram::stop()
{
    for (const auto &port : m_ports)
        port->loop->stop();
}

QString StationProgram::beforePanel(const QString &)
{
    if (m_recordFailed)
        return QStringLiteral("the record failed");
    if (!m_keeper)
        return {};
    const QString problem = m_keeper->problemAppending();
    return problem.isEmpty() ? QString()
                             : QStringLiteral("%1: cannot keep the record there: %2").arg(m_keeper->path(), problem);
}

QString StationProgram::panelEnded(const StationPanel &panel)
{
    const PortReport report{panel.port, panel.result, panel.seconds, {}, {}};
    Event event{Event::Panel, panel, {}, exitStatusOf(report), statusOf(report, Shown::Write)};
    // The line is shown only once the record holds it.
    if (m_keeper) {
        if (const QString problem = m_keeper->append(report, event.status, event.exitStatus); !problem.isEmpty()) {
            m_recordFailed = true;
            handOver(event);
            return QStringLiteral("%1: could not write: %2").arg(m_keeper->path(), problem);
        }
    }
    handOver(event);
    return {};
}

void StationProgram::loopEnded(const QString &port, const QString &why)
{
    // Home again, in its own thread, so that it can be deleted where it was made.
    for (const auto &p : m_ports) {
        if (p->device == port) {
            p->session->moveToThread(thread());
            p->loop->moveToThread(thread());
        }
    }
    Event event{Event::Ended, {}, why, 0, {}};
    event.panel.port = port;
    handOver(event);
}

void StationProgram::handOver(Event event)
{
    {
        const std::lock_guard lock(m_eventsLock);
        m_events.push_back(std::move(event));
    }
    QMetaObject::invokeMethod(this, "takeEvents", Qt::QueuedConnection);
}

void StationProgram::takeEvents()
{
    std::vector<Event> events;
    {
        const std::lock_guard lock(m_eventsLock);
        events.swap(m_events);
    }
    for (const Event &event : events) {
        const auto port =
            std::find_if(m_ports.begin(), m_ports.end(), [&](const auto &p) { return p->device == event.panel.port; });
        if (port == m_ports.end())
            continue;
        if (event.kind == Event::Panel) {
            (event.exitStatus == kSucceeded ? (*port)->programmed : (*port)->failed)++;
            if (event.exitStatus != kSucceeded)
                m_status = std::max(m_status, event.exitStatus);
            show(event.panel, event.exitStatus, event.status);
            continue;
        }
        if (!event.why.isEmpty()) {
            // The record failed: no port programs another panel.
            writeText(Stream::Err, (terminalSafePath(QStringLiteral("kdr-panel: ") + event.why) + u'\n').toUtf8());
            m_status = std::max(m_status, int(kOutputFailed));
            stop();
        }
        (*port)->thread->quit();
        if (--m_running == 0) {
            showSummary();
            emit finished(m_outputFailed ? std::max(m_status, int(kOutputFailed)) : m_status);
        }
    }
}

void StationProgram::show(const StationPanel &panel, int exitStatus, const QString &status)
{
    QByteArray text;
    if (m_request.json) {
        QJsonObject object{{QStringLiteral("port"), panel.port},
                           {QStringLiteral("panel"), panel.number},
                           {QStringLiteral("ok"), exitStatus == kSucceeded},
                           {QStringLiteral("status"), status},
                           {QStringLiteral("seconds"), panel.seconds}};
        QJsonArray codes;
        for (const auto &code : panel.result.codesRead)
            codes << (code ? QJsonValue(int(*code)) : QJsonValue(QJsonValue::Null));
        object.insert(QStringLiteral("codes"), codes);
        if (panel.result.failedSwitch >= 0)
            object.insert(QStringLiteral("failedSwitch"), panel.result.failedSwitch + 1);
        text = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    } else {
        const PortReport report{panel.port, panel.result, panel.seconds, {}, {}};
        QString why;
        if (exitStatus != kSucceeded) {
            // "kdr-panel: PORT: " is said by the port column already.
            why = problemLine(report).mid(QStringLiteral("kdr-panel: %1: ").arg(panel.port).size());
            why = QStringLiteral("failed, ") + why + QStringLiteral("; ");
        }
        text = QStringLiteral("%1  #%2  %3  %4 s \u2014 %5disconnect it\n")
                   .arg(terminalSafePath(panel.port).leftJustified(m_portWidth))
                   .arg(panel.number)
                   .arg(terminalSafePath(status))
                   .arg(panel.seconds, 0, 'f', 1)
                   .arg(terminalSafePath(why))
                   .toUtf8();
    }
    if (!writeText(Stream::Out, text) && !m_outputFailed) {
        m_outputFailed = true;
        writeText(Stream::Err,
                  QStringLiteral("kdr-panel: standard output: could not write: %1\n").arg(lastWriteError()).toUtf8());
    }
}

void StationProgram::showSummary()
{
    int programmed = 0, failed = 0;
    QByteArray text;
    QJsonArray ports;
    for (const auto &port : m_ports) {
        programmed += port->programmed;
        failed += port->failed;
        ports << QJsonObject{{QStringLiteral("port"), port->device},
                             {QStringLiteral("programmed"), port->programmed},
                             {QStringLiteral("failed"), port->failed}};
        text += QStringLiteral("%1  %2 programmed, %3 failed\n")
                    .arg(terminalSafePath(port->device).leftJustified(m_portWidth))
                    .arg(port->programmed)
                    .arg(port->failed)
                    .toUtf8();
    }
    text += QStringLiteral("%1  %2 programmed, %3 failed\n")
                .arg(QStringLiteral("ALL PORTS").leftJustified(m_portWidth))
                .arg(programmed)
                .arg(failed)
                .toUtf8();
    if (m_request.json)
        text = QJsonDocument(QJsonObject{{QStringLiteral("summary"), true},
                                         {QStringLiteral("ports"), ports},
                                         {QStringLiteral("programmed"), programmed},
                                         {QStringLiteral("failed"), failed}})
                   .toJson(QJsonDocument::Compact) +
               '\n';
    if (!writeText(Stream::Out, text))
        m_outputFailed = true;
}

} // namespace kdr::cli
