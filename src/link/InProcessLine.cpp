// SPDX-License-Identifier: GPL-3.0-or-later
#include "InProcessLine.h"

#include <QMutexLocker>

namespace kdr {

InProcessLine::InProcessLine(QObject *parent) : QObject(parent) {}

void InProcessLine::answer(const QByteArray &bytes)
{
    {
        const QMutexLocker lock(&m_mutex);
        m_waiting += bytes;
    }
    emit arrived();
}

void InProcessLine::transmit(const QByteArray &bytes)
{
    // Queued even within one thread, so that the peer answers from its event loop,
    // never from inside the port's send.
    QMetaObject::invokeMethod(
        this, [this, bytes] { emit transmitted(bytes); }, Qt::QueuedConnection);
}

qsizetype InProcessLine::bytesWaiting() const
{
    const QMutexLocker lock(&m_mutex);
    return m_waiting.size();
}

QByteArray InProcessLine::takeAll()
{
    const QMutexLocker lock(&m_mutex);
    return std::exchange(m_waiting, {});
}

QByteArray InProcessLine::peek() const
{
    const QMutexLocker lock(&m_mutex);
    return m_waiting;
}

} // namespace kdr
