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
    m_restOfTick.setTimerType(Qt::PreciseTimer);
    m_restOfTick.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TickWaiter::Timer1_Timer);
    connect(&m_restOfTick, &QTimer::timeout, this, &TickWaiter::Timer1_Timer);
    connect(&m_port, &PanelPort::bytesArrived, this, &TickWaiter::wake);
    connect(&m_port, &PanelPort::connectionLost, this, &TickWaiter::wake);
}

void TickWaiter::Timer1_Timer()
{
    // The tick is due a whole interval after the countdown began, by the monotonic
    // clock. A system timer may count in coarser steps and come a little early (the
    // multimedia timer Qt uses on Windows counts whole milliseconds): a remainder too
    // short for another timer to be exact about is waited out on the clock.
    using namespace std::chrono;
    const auto due = duration_cast<nanoseconds>(kTick);
    if (const auto early = due - nanoseconds(m_armed.nsecsElapsed()); early > kShortestTimer) {
        m_restOfTick.start(ceil<milliseconds>(early));
        return;
    }
    while (nanoseconds(m_armed.nsecsElapsed()) < due && !m_interrupted)
        QThread::yieldCurrentThread();
    // What came before the tick counts, though a busy machine may hand out the tick first.
    m_port.collectReceived();
    m_state.timer_flag = 1;
    wake();
}

void TickWaiter::armTimer(std::chrono::milliseconds interval)
{
    m_state.timer_flag = 0;
    m_armed.start();
    m_restOfTick.stop();
    m_timer.start(interval);
}

void TickWaiter::wake()
{
    // On Windows, Qt hands out posted events (a precise timer's tick, a serial port's
    // completion, a call from another thread) at the start of processEvents() and then
    // sleeps until the next message; a handler that changed what the wait looks at must
    // bring one, or the wait would notice only at the next tick. Elsewhere this costs
    // one more turn of the loop.
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(thread()))
        dispatcher->wakeUp();
}

void TickWaiter::interrupt()
{
    m_interrupted = true;
    wake();
}

bool TickWaiter::interrupted() const
{
    return m_interrupted || m_port.lostConnection();
}

template<typename Done>
bool TickWaiter::pumpEventsUntil(Done done)
{
    // After each turn, what was posted meanwhile is handed out before the condition is
    // looked at: Windows' dispatcher would otherwise keep it for the next turn.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents();
    while (!done() && !interrupted()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents();
    }
    return !interrupted();
}

bool TickWaiter::WaitOneTick()
{
    // Only the tick ends this wait, so its last two milliseconds are waited out on the
    // clock: a timer comes late by the system's own latency (a quarter of a millisecond
    // on Linux, over half of one under Wine), which every pause before a command would
    // add to the operation. A reply wait keeps the whole timer, as it must see every
    // byte that comes up to its tick.
    armTimer(kTick - kShortestTimer);
    return pumpEventsUntil([this] { return m_state.timer_flag == 1; });
}

bool TickWaiter::WaitForReply()
{
    armTimer();
    return pumpEventsUntil([this] { return m_port.bytesWaiting() >= kReplyLength || m_state.timer_flag == 1; });
}

} // namespace kdr
