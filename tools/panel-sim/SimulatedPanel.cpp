// SPDX-License-Identifier: GPL-3.0-or-later
#include "SimulatedPanel.h"

namespace kdr::sim {

SimulatedPanel::SimulatedPanel(PanelFaults faults) : m_faults(std::move(faults))
{
    storeFactoryConfiguration();
}

void SimulatedPanel::storeFactoryConfiguration()
{
    m_codes.fill(160);
    m_codes[kAddresses - 1] = 159;
    m_pending.clear();
    m_handshakes = 0;
}

void SimulatedPanel::storeSampleConfiguration()
{
    constexpr int kSampleCodes[] = {0, 13, 25, 37, 160, 159, 42, 58, 160, 99};
    for (int address = 0; address < 10; ++address)
        m_codes[address] = kSampleCodes[address];
}

QList<SimulatedPanel::Command> SimulatedPanel::receive(const QByteArray &bytes)
{
    m_pending += bytes;
    QList<Command> commands;
    while (!m_pending.isEmpty()) {
        const char first = m_pending[0];
        const qsizetype length = (first == 'S' || first == 'V') ? 6 : 1;
        if (m_pending.size() < length)
            break;
        const QByteArray command = m_pending.left(length);
        m_pending.remove(0, length);
        commands.append({command, answer(command)});
    }
    return commands;
}

std::optional<QByteArray> SimulatedPanel::answer(const QByteArray &command)
{
    if (m_faults.silent || !m_present)
        return std::nullopt;
    std::optional<QByteArray> reply;
    const int address = command.size() == 6 ? quint8(command[2]) : -1;
    if (command == "A") {
        if (++m_handshakes >= m_faults.answerFromHandshake)
            reply = m_faults.handshakeReply;
    } else if (command[0] == 'S' && command[1] == '\0' && command[3] == '\0' && command[5] == 'D') {
        if (address < kAddresses)
            m_codes[address] = quint8(command[4]);
        reply = m_faults.writeAcknowledgement;
    } else if (command == QByteArray("V\0", 2) + char(address) + "00V") {
        if (m_faults.readReplyAt.contains(address))
            reply = m_faults.readReplyAt.value(address);
        else if (address < kAddresses)
            reply = QByteArray::number(m_codes[address] * 10).rightJustified(5, '0');
    }
    if (reply && reply->isEmpty())
        return std::nullopt;
    if (reply)
        *reply += m_faults.trailing;
    return reply;
}

} // namespace kdr::sim
