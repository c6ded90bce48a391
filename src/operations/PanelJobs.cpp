// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelJobs.h"

#include "PanelSession.h"

#include "link/PanelProtocol.h"

#include <QElapsedTimer>
#include <QThread>

#include <utility>

namespace kdr {

struct PanelJobs::Port {
    std::unique_ptr<PanelSession> session;
    std::unique_ptr<QThread> thread;
    bool quitting = false;

    // Once only: a second wake-up could reach a thread that is already taking its
    // event loop down.
    void quit()
    {
        if (!std::exchange(quitting, true))
            thread->quit();
    }
};

PanelJobs::PanelJobs(const QStringList &devices, Operation operation, Prepare prepare, Conclude conclude)
    : m_operation(operation), m_prepare(std::move(prepare)), m_conclude(std::move(conclude))
{
    for (const QString &device : devices) {
        auto port = std::make_unique<Port>();
        port->session = std::make_unique<PanelSession>(device);
        port->thread = std::make_unique<QThread>();
        port->thread->setObjectName(device);
        m_ports.push_back(std::move(port));
        m_reports << PortReport{device, {}, 0, {}, {}};
    }
}

PanelJobs::~PanelJobs()
{
    interrupt();
    for (const auto &port : m_ports) {
        port->quit();
        port->thread->wait();
    }
}

void PanelJobs::start()
{
    QThread *home = thread();
    for (size_t i = 0; i < m_ports.size(); ++i) {
        PanelSession *session = m_ports[i]->session.get();
        session->moveToThread(m_ports[i]->thread.get());
        // Queued before the thread starts, so that starting it orders the job before
        // the thread's first step for every checker, not only through Qt's own locks.
        QMetaObject::invokeMethod(session, [this, session, home, i] {
            PortReport report{session->device(), {}, 0, {}, {}};
            if (m_prepare)
                m_prepare(*session);
            QElapsedTimer clock;
            clock.start();
            report.result = m_operation == Operation::Read    ? session->readPanel()
                            : m_operation == Operation::Write ? session->writePanel()
                                                              : session->greetPanel(PanelProtocol::kHandshakeAttempts);
            report.seconds = double(clock.nsecsElapsed()) / 1e9;
            if (m_conclude)
                m_conclude(*session, report);
            const std::lock_guard lock(m_endedLock);
            // Home again, so that the session can be deleted where it was made.
            session->moveToThread(home);
            m_ended.emplace_back(int(i), std::move(report));
            if (m_ended.size() == m_ports.size())
                QMetaObject::invokeMethod(this, "takeEndedPorts", Qt::QueuedConnection);
        });
        m_ports[i]->thread->start();
    }
}

void PanelJobs::interrupt()
{
    for (const auto &port : m_ports)
        port->session->interrupt();
}

void PanelJobs::takeEndedPorts()
{
    std::vector<std::pair<int, PortReport>> ended;
    {
        const std::lock_guard lock(m_endedLock);
        ended.swap(m_ended);
    }
    // Called once, by the last port to end: every report is here.
    for (auto &[index, report] : ended) {
        m_reports[index] = std::move(report);
        m_ports[size_t(index)]->quit();
    }
    emit finished(m_reports);
}

} // namespace kdr
