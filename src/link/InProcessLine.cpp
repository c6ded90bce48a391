// SPDX-License-Identifier: GPL-3.0-or-later
#include "InProcessLine.h"

#include <utility>

namespace kdr {

InProcessLine::InProcessLine(QObject *parent) : QObject(parent) {}

// The notice goes out under the lock that the receiving end takes in its handler: so
// the notice itself, which Qt makes here and deletes there, is handed over where a race
// checker can see it, not only inside Qt's queue.
void InProcessLine::answer(const QByteArray &bytes)
{
    const std::lock_guard lock(m_mutex);
    m_waiting += bytes;
    emit arrived();
}

void InProcessLine::transmit(const QByteArray &bytes)
{
    const std::lock_guard lock(m_mutex);
    m_sent.push_back(bytes);
    // Queued even within one thread, so that the peer answers from its event loop,
    // never from inside the port's send.
    QMetaObject::invokeMethod(this, "deliverSent", Qt::QueuedConnection);
}

void InProcessLine::deliverSent()
{
    QByteArray bytes;
    {
        const std::lock_guard lock(m_mutex);
        if (m_sent.empty())
            return;
        bytes = std::move(m_sent.front());
        m_sent.pop_front();
    }
    emit transmitted(bytes);
}

qsizetype InProcessLine::bytesWaiting() const
{
    const std::lock_guard lock(m_mutex);
    return m_waiting.size();
}

QByteArray InProcessLine::takeAll()
{
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_waiting, {});
}

QByteArray InProcessLine::peek() const
{
    const std::lock_guard lock(m_mutex);
    return m_waiting;
}

} // namespace kdr
