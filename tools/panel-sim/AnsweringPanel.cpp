// SPDX-License-Identifier: GPL-3.0-or-later
#include "AnsweringPanel.h"

#include <QTimer>

#include <thread>

namespace kdr::sim {

using namespace std::chrono_literals;

AnsweringPanel::AnsweringPanel(PanelFaults faults, QObject *parent) : QObject(parent), m_panel(std::move(faults))
{
    m_clock.start();
    if (const PlugSchedule &plugs = m_panel.faults().plugs; plugs.times > 0) {
        m_plugsLeft = plugs.times;
        QTimer::singleShot(plugs.in, Qt::PreciseTimer, this, &AnsweringPanel::plugNext);
    }
}

void AnsweringPanel::plugNext()
{
    const PlugSchedule &plugs = m_panel.faults().plugs;
    const bool present = !m_panel.present();
    m_panel.setPresent(present);
    if (present) {
        ++m_panelsPlugged;
        m_panel.storeFactoryConfiguration();
    }
    emit panelPlugged(present);
    if (!present && --m_plugsLeft == 0)
        return; // out for good
    QTimer::singleShot(present ? plugs.in : plugs.out, Qt::PreciseTimer, this, &AnsweringPanel::plugNext);
}

QList<QByteArray> AnsweringPanel::commands() const
{
    QList<QByteArray> all;
    for (const Received &r : m_received)
        all.append(r.bytes);
    return all;
}

int AnsweringPanel::countOf(const QByteArray &command) const
{
    return int(commands().count(command));
}

void AnsweringPanel::receive(const QByteArray &bytes)
{
    const qint64 now = m_clock.elapsed();
    for (const SimulatedPanel::Command &command : m_panel.receive(bytes)) {
        m_received.append({now, command.bytes});
        ++m_commandCount;
        emit commandReceived(command.bytes);
        const int hangUpAfter = m_panel.faults().hangUpAfterCommands;
        if (hangUpAfter > 0 && m_commandCount >= hangUpAfter) {
            QTimer::singleShot(0, this, &AnsweringPanel::hangUp);
            return;
        }
        if (!command.reply)
            continue;
        const PanelFaults &faults = m_panel.faults();
        const std::chrono::milliseconds delay = faults.replyDelayAt.value(command.address(), faults.replyDelay);
        const QByteArray reply = *command.reply;
        if (faults.dripInterval > 0ms) {
            for (qsizetype i = 0; i < reply.size(); ++i)
                QTimer::singleShot(delay + int(i) * faults.dripInterval, Qt::PreciseTimer, this,
                                   [this, byte = reply.mid(i, 1)] { send(byte); });
        } else if (delay > 0ms) {
            QTimer::singleShot(delay, Qt::PreciseTimer, this, [this, reply] { send(reply); });
        } else {
            send(reply);
        }
    }
}

void AnsweringPanel::send(const QByteArray &bytes)
{
    if (!write(bytes))
        return;
    m_lastReplyAtNs = m_clock.nsecsElapsed();
    emit replied(bytes);
    if (const std::chrono::milliseconds stall = m_panel.faults().stallAfterReply; stall > 0ms)
        std::this_thread::sleep_for(stall);
}

} // namespace kdr::sim
