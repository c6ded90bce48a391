// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelSession.h"

#include "PanelOperations.h"

#include "link/PanelPort.h"
#include "link/PanelProtocol.h"
#include "link/TickWaiter.h"
#include "model/HeadlessPanelView.h"

namespace kdr {

PanelSession::PanelSession(const QString &device, SwitchPanelView &view, StatusBox &status, QObject *parent)
    : QObject(parent), m_port(new PanelPort(device, this)), m_waiter(new TickWaiter(m_state, *m_port, this))
{
    wire(view, status);
}

PanelSession::PanelSession(const QString &device, QObject *parent)
    : QObject(parent), m_headlessView(std::make_unique<HeadlessPanelView>(m_state)),
      m_headlessStatus(std::make_unique<HeadlessStatusBox>()), m_port(new PanelPort(device, this)),
      m_waiter(new TickWaiter(m_state, *m_port, this))
{
    wire(*m_headlessView, *m_headlessStatus);
}

void PanelSession::wire(SwitchPanelView &view, StatusBox &status)
{
    m_protocol = std::make_unique<PanelProtocol>(m_state, *m_port, *m_waiter);
    m_operations = std::make_unique<PanelOperations>(m_state, *m_port, *m_waiter, *m_protocol, view, status);
}

PanelSession::~PanelSession() = default;

OperationResult PanelSession::readPanel()
{
    return m_operations->readPanel();
}

OperationResult PanelSession::writePanel()
{
    return m_operations->writePanel();
}

OperationResult PanelSession::greetPanel(int attempts)
{
    return m_operations->greetPanel(attempts);
}

bool PanelSession::busy() const
{
    return m_operations->busy();
}

QString PanelSession::device() const
{
    return m_port->device();
}

void PanelSession::setDevice(const QString &device)
{
    m_port->setDevice(device);
}

void PanelSession::interrupt()
{
    m_waiter->interrupt();
}

} // namespace kdr
