// SPDX-License-Identifier: GPL-3.0-or-later
#include "StationLoop.h"

#include "PanelSession.h"

#include <QElapsedTimer>

namespace kdr {

StationLoop::StationLoop(PanelSession &session, StationObserver &observer, int count)
    : m_session(session), m_observer(observer), m_count(count)
{
    m_timer.setInterval(kGreetingInterval);
    // Waking once a second is all an idle port costs.
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &StationLoop::greet);
}

void StationLoop::start()
{
    m_timer.start();
    greet();
}

void StationLoop::stop()
{
    m_stopping = true;
    m_session.interrupt();
    // Waiting between greetings, the loop hears of it at once.
    QMetaObject::invokeMethod(this, "greet", Qt::QueuedConnection);
}

void StationLoop::greet()
{
    if (m_state == State::Ended)
        return;
    if (m_stopping)
        return end();
    // One "A": a panel that is there answers it, an empty cable costs one tick.
    const bool answered = m_session.greetPanel(1).succeeded();
    if (m_stopping)
        return end();
    if (m_state == State::Removing) {
        m_unanswered = answered ? 0 : m_unanswered + 1;
        if (m_unanswered >= kUnansweredWhenGone)
            m_state = State::Waiting;
        return;
    }
    if (answered)
        program();
}

void StationLoop::program()
{
    if (const QString why = m_observer.beforePanel(m_session.device()); !why.isEmpty())
        return end(why);
    m_timer.stop();
    QElapsedTimer clock;
    clock.start();
    StationPanel panel{m_session.device(), nextNumber(), m_session.writePanel(), 0};
    panel.seconds = double(clock.nsecsElapsed()) / 1e9;
    if (const QString why = m_observer.panelEnded(panel); !why.isEmpty())
        return end(why);
    if (panel.result.succeeded() && ++m_programmed == m_count)
        return end();
    if (m_stopping)
        return end();
    m_state = State::Removing;
    m_unanswered = 0;
    m_timer.start();
}

int StationLoop::nextNumber()
{
    const QDate today = QDate::currentDate();
    if (today != m_day) {
        m_day = today;
        m_numberToday = 0;
    }
    return ++m_numberToday;
}

void StationLoop::end(const QString &why)
{
    if (m_state == State::Ended)
        return;
    m_state = State::Ended;
    m_timer.stop();
    m_observer.loopEnded(m_session.device(), why);
}

} // namespace kdr
