// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/WorkingState.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <chrono>

namespace kdr {

class PanelPort;

// The tick timer `Timer1` and the two waits built on it. A wait arms the timer
// (100 ms, `timer_flag` cleared), then keeps the thread's events running until its
// end condition holds; it sleeps between events instead of spinning.
//
// A wait ends on its cause, within a couple of milliseconds of it: the tick (never
// before 100 ms have passed on a monotonic clock, whatever the timer's own
// granularity), the fifth byte, or an interruption. Beyond their own end conditions,
// waits end at once while the port has lost its cable or after interrupt() (the
// window is closing, or the command was stopped), so nothing hangs on a panel that
// can no longer answer. Both waits then return false, and the caller must send
// nothing more.
class TickWaiter : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kTick{100};
    static constexpr int kReplyLength = 5;

    TickWaiter(WorkingState &state, PanelPort &port, QObject *parent = nullptr);

    // The countdown of the tick restarts (100 ms, `timer_flag` 0) and the timer is
    // enabled; it may be set to come before the tick, whose rest is then waited out
    // on the clock.
    void armTimer(std::chrono::milliseconds interval = kTick);
    // Returns after the next tick; bytes that arrive meanwhile stay waiting.
    bool WaitOneTick();
    // Returns once at least five bytes are waiting or a tick has come, or both;
    // events are pumped at least once before either is looked at.
    bool WaitForReply();
    // Disables the timer, so that an idle program is not woken ten times a second.
    void stop()
    {
        m_timer.stop();
        m_restOfTick.stop();
    }

    // Safe from any thread: wakes the waiting thread, whose wait then ends.
    void interrupt();
    bool interrupted() const;

private:
    // Below this, a timer for the rest of an early tick would itself come too late.
    static constexpr std::chrono::milliseconds kShortestTimer{2};

    void Timer1_Timer();
    // Something a wait looks at has changed: the event processing it sleeps in returns.
    void wake();
    template<typename Done>
    bool pumpEventsUntil(Done done);

    WorkingState &m_state;
    PanelPort &m_port;
    QTimer m_timer{this};
    QTimer m_restOfTick{this}; // after a timer that came before the tick was due
    QElapsedTimer m_armed;     // when the countdown of the tick started
    std::atomic<bool> m_interrupted = false;
};

} // namespace kdr
