// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OperationResult.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <chrono>

namespace kdr {

class PanelSession;

// One panel that a station programmed, or tried to.
struct StationPanel {
    QString port;
    int number = 0; // the panel's number of the day at this port, from 1
    OperationResult result;
    double seconds = 0;
};

// What a station loop asks and tells, called in its own thread.
class StationObserver {
public:
    virtual ~StationObserver() = default;
    // Before a panel that answered is programmed: empty to go on, else why the
    // station must stop (the record cannot be written).
    virtual QString beforePanel(const QString &port) = 0;
    // After it: empty to go on, else why the station must stop. Returns only once the
    // panel's outcome is kept (in the record), before the station turns to the next.
    virtual QString panelEnded(const StationPanel &panel) = 0;
    // The loop has ended: stopped, its count reached, or for `why`.
    virtual void loopEnded(const QString &port, const QString &why) = 0;
};

// The production line at one port, for as long as it runs: it waits for a panel
// (the handshake, once a second, and nothing else), programs and verifies it exactly
// as a write does, and then waits until the panel has gone (two handshakes in a row
// unanswered, or the adapter gone) before it waits for the next. A panel is never
// programmed twice without being disconnected in between, and one that failed is
// not tried again until then. An adapter that went away is taken up again when it
// comes back under its name. Runs in the thread its session lives in.
class StationLoop : public QObject {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kGreetingInterval{1000};
    static constexpr int kUnansweredWhenGone = 2;

    // The session's lists hold what is to be written. `count`: panels to program
    // before the loop ends (0: no end).
    StationLoop(PanelSession &session, StationObserver &observer, int count);

    // In the session's thread.
    void start();
    // From any thread: the loop ends at the next frame; nothing more is sent.
    void stop();

private:
    enum class State { Waiting, Removing, Ended };

    Q_INVOKABLE void greet();
    void program();
    void end(const QString &why = {});
    int nextNumber();

    PanelSession &m_session;
    StationObserver &m_observer;
    const int m_count;
    QTimer m_timer{this};
    State m_state = State::Waiting;
    int m_unanswered = 0;
    int m_programmed = 0;
    QDate m_day;
    int m_numberToday = 0;
    std::atomic<bool> m_stopping = false;
};

} // namespace kdr
