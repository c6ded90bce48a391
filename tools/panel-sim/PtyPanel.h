#pragma once

#include "SimulatedPanel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace kdr::sim {

// A simulated panel at the far end of a pseudo-terminal, running in the caller's
// event loop: open devicePath() as a serial port and talk to it as to a panel.
// Every command received is recorded with the time it came.
//
// hangUp() closes the terminal as an unplugged cable would; plugIn() makes a new
// one. With a link path given, that path always points at the current terminal,
// so a port opened by that name finds the panel again after a new plug-in.
class PtyPanel : public QObject {
    Q_OBJECT
public:
    struct Received {
        qint64 atMs;
        QByteArray bytes;
    };

    explicit PtyPanel(PanelFaults faults = {}, QString linkPath = {}, QObject *parent = nullptr);
    ~PtyPanel() override;

    bool isPluggedIn() const { return m_master >= 0; }
    QString devicePath() const; // the link path if there is one, else the terminal

    SimulatedPanel &panel() { return m_panel; }
    const QList<Received> &received() const { return m_received; }
    QList<QByteArray> commands() const;
    int countOf(const QByteArray &command) const;
    void clearLog() { m_received.clear(); }
    qint64 elapsedMs() const { return m_clock.elapsed(); }
    qint64 nowNs() const { return m_clock.nsecsElapsed(); }
    // When the last reply was handed to the terminal, in nanoseconds on the same clock.
    qint64 lastReplyAtNs() const { return m_lastReplyAtNs; }

    // Commands received since the last plug-in; hangUpAfterCommands counts the same.
    int commandsSincePlugIn() const { return m_commandCount; }

    bool plugIn();
    void hangUp();
    // Bytes on the line that answer no command, as noise or a late reply would.
    void sendUnprompted(const QByteArray &bytes) { send(bytes); }

signals:
    void commandReceived(const QByteArray &bytes);
    void replied(const QByteArray &bytes);
    void hungUp();

private:
    void onReadable();
    void send(const QByteArray &bytes);

    SimulatedPanel m_panel;
    QString m_linkPath;
    QString m_terminal;
    int m_master = -1;
    int m_slaveKeeper = -1;
    QSocketNotifier *m_notifier = nullptr;
    QList<Received> m_received;
    QElapsedTimer m_clock;
    qint64 m_lastReplyAtNs = 0;
    int m_commandCount = 0;
};

} // namespace kdr::sim
