// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SimulatedPanel.h"

#include <QElapsedTimer>
#include <QObject>

namespace kdr::sim {

// A simulated panel on some line: it takes the bytes the line brings, answers each
// command as its faults say (late, dripped, not at all, hanging up), and records
// every command received with the time it came. What the line is, a pseudo-terminal
// or a line inside the program, is the subclass's business.
class AnsweringPanel : public QObject {
    Q_OBJECT
public:
    struct Received {
        qint64 atMs;
        QByteArray bytes;
    };

    SimulatedPanel &panel() { return m_panel; }
    const QList<Received> &received() const { return m_received; }
    QList<QByteArray> commands() const;
    int countOf(const QByteArray &command) const;
    void clearLog() { m_received.clear(); }
    qint64 elapsedMs() const { return m_clock.elapsed(); }
    qint64 nowNs() const { return m_clock.nsecsElapsed(); }
    // When the last reply was handed to the line, in nanoseconds on the same clock.
    qint64 lastReplyAtNs() const { return m_lastReplyAtNs; }

    // Commands received since the last plug-in; hangUpAfterCommands counts the same.
    int commandsSincePlugIn() const { return m_commandCount; }

    virtual bool isPluggedIn() const = 0;
    virtual void hangUp() = 0;
    // Whether a panel is on the cable now (see PlugSchedule), and how many have been.
    bool panelPresent() const { return m_panel.present(); }
    int panelsPlugged() const { return m_panelsPlugged; }
    // Bytes on the line that answer no command, as noise or a late reply would.
    void sendUnprompted(const QByteArray &bytes) { send(bytes); }

signals:
    void commandReceived(const QByteArray &bytes);
    void replied(const QByteArray &bytes);
    void hungUp();
    void panelPlugged(bool present);

protected:
    explicit AnsweringPanel(PanelFaults faults, QObject *parent);

    // The subclass hands in what the line brought.
    void receive(const QByteArray &bytes);
    void pluggedIn() { m_commandCount = 0; }
    // Puts bytes on the line; false when the line is gone.
    virtual bool write(const QByteArray &bytes) = 0;

private:
    void send(const QByteArray &bytes);
    // The next step of the plug schedule.
    void plugNext();

    SimulatedPanel m_panel;
    QList<Received> m_received;
    QElapsedTimer m_clock;
    qint64 m_lastReplyAtNs = 0;
    int m_commandCount = 0;
    int m_panelsPlugged = 1;
    int m_plugsLeft = 0;
};

} // namespace kdr::sim
