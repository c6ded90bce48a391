// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickWaiter.h"

#include "PanelPort.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

namespace kdr {

TickWaiter::TickWaiter(WorkingState &state, PanelPort &port, QObject *parent)
    : QObject(parent), m_state(state), m_port(port)
{
    // A coarse timer may fire up to 5 % early; a tick must never come before 100 ms.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TickWaiter::Timer1_Timer);
}

void TickWaiter::Timer1_Timer()
{
    m_state.timer_flag = 1;
}

void TickWaiter::armTimer()
{
    m_state.timer_flag = 0;
    m_timer.start(kTick);
}

void TickWaiter::interrupt()
{
    m_interrupted = true;
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread()))
        dispatcher->wakeUp();
}

bool TickWaiter::interrupted() const
{
    return m_interrupted || m_port.lostConnection();
}

template<typename Done>
bool TickWaiter::pumpEventsUntil(Done done)
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    while (!done() && !interrupted())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return !interrupted();
}

bool TickWaiter::WaitOneTick()
{
    armTimer();
    return pumpEventsUntil([this] { return m_state.timer_flag == 1; });
}

bool TickWaiter::WaitForReply()
{
    armTimer();
    return pumpEventsUntil([this] { return m_port.bytesWaiting() >= kReplyLength || m_state.timer_flag == 1; });
}

} // namespace kdr
