// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelJobs.h"

#include "operations/PanelSession.h"

#include <QElapsedTimer>
#include <QThread>

namespace kdr::cli {

struct PanelJobs::Port {
    std::unique_ptr<PanelSession> session;
    std::unique_ptr<QThread> thread;
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
        port->thread->quit();
        port->thread->wait();
    }
}

void PanelJobs::start()
{
    m_running = int(m_ports.size());
    QThread *home = thread();
    for (size_t i = 0; i < m_ports.size(); ++i) {
        PanelSession *session = m_ports[i]->session.get();
        session->moveToThread(m_ports[i]->thread.get());
        m_ports[i]->thread->start();
        QMetaObject::invokeMethod(session, [this, session, home, i] {
            PortReport report{session->device(), {}, 0, {}, {}};
            if (m_prepare)
                m_prepare(*session);
            QElapsedTimer clock;
            clock.start();
            report.result = m_operation == Operation::Read ? session->readPanel() : session->writePanel();
            report.seconds = clock.nsecsElapsed() / 1e9;
            if (m_conclude)
                m_conclude(*session, report);
            // Home again, so that the session can be deleted where it was made.
            session->moveToThread(home);
            QMetaObject::invokeMethod(
                this, [this, i, report] { portEnded(int(i), report); }, Qt::QueuedConnection);
        });
    }
}

void PanelJobs::interrupt()
{
    for (const auto &port : m_ports)
        port->session->interrupt();
}

void PanelJobs::portEnded(int index, const PortReport &report)
{
    m_reports[index] = report;
    m_ports[size_t(index)]->thread->quit();
    if (--m_running == 0)
        emit finished(m_reports);
}

} // namespace kdr::cli
