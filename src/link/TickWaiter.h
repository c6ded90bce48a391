#pragma once

#include "model/WorkingState.h"

#include <QObject>
#include <QTimer>

namespace kdr {

class MSComm1;

// The tick timer `Timer1` and the two waits built on it. A wait arms the timer
// (100 ms, `timer_flag` cleared), then keeps the window's events running until its
// end condition holds; it sleeps between events instead of spinning.
//
// Beyond their own end conditions, waits end at once while the port has lost its
// cable or after interrupt() (the window is closing), so nothing hangs on a panel
// that can no longer answer.
class TickWaiter : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 100;
    static constexpr int kReplyLength = 5;

    TickWaiter(WorkingState &state, MSComm1 &port, QObject *parent = nullptr);

    // Interval 100 ms (restarting the countdown), `timer_flag` 0, timer enabled.
    void armTimer();
    // Returns after the next tick; bytes that arrive meanwhile stay waiting.
    void WaitOneTick();
    // Returns once at least five bytes are waiting or a tick has come, or both;
    // events are pumped at least once before either is looked at.
    void WaitForReply();

    void interrupt() { m_interrupted = true; }
    bool interrupted() const;

private:
    void Timer1_Timer();
    template<typename Done>
    void pumpEventsUntil(Done done);

    WorkingState &m_state;
    MSComm1 &m_port;
    QTimer m_timer;
    bool m_interrupted = false;
};

} // namespace kdr
