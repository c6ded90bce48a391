// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>

#include <deque>
#include <mutex>

namespace kdr {

// A line to a peer inside the same program, a simulated panel, where no serial port
// is to be had (Windows has no pseudo-terminals). A PanelPort given one talks to it
// instead of a serial device.
//
// As over a cable, neither end sees what the other sent before its own event loop
// runs: bytes the port sends reach the peer through transmitted(), delivered in the
// peer's thread; bytes the peer answers wait for the port until it takes them. The
// two ends may live on different threads: bytes cross only under the line's lock,
// never inside a queued call, so that a race checker sees them handed over.
class InProcessLine : public QObject {
    Q_OBJECT
public:
    explicit InProcessLine(QObject *parent = nullptr);

    // The peer's end: bytes on their way to the port.
    void answer(const QByteArray &bytes);

    // The port's end.
    void transmit(const QByteArray &bytes);
    qsizetype bytesWaiting() const;
    QByteArray takeAll();
    QByteArray peek() const;

signals:
    // Connected queued: the peer sees the bytes when its event loop runs.
    void transmitted(const QByteArray &bytes);
    // Bytes have come for the port; wakes a port that waits in another thread. Sent
    // under the line's lock: a handler in the same thread may use the line, and one in
    // another thread should, so that the hand-over is seen.
    void arrived();

private:
    // In the peer's thread: the oldest chunk sent and not yet delivered.
    Q_INVOKABLE void deliverSent();

    mutable std::recursive_mutex m_mutex; // also held while arrived() is sent
    QByteArray m_waiting;                 // for the port
    std::deque<QByteArray> m_sent;        // for the peer, a chunk per transmit()
};

} // namespace kdr
