// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelProtocol.h"

#include "PanelPort.h"
#include "PanelReply.h"
#include "TickWaiter.h"

namespace kdr {

namespace {

constexpr int kShortestReply = 4;

bool isValidCode(Code code)
{
    return code >= 0 && code <= kCodeNotAssigned;
}

} // namespace

const QByteArray PanelProtocol::kAcknowledgement = QByteArrayLiteral("D000D");

PanelProtocol::PanelProtocol(WorkingState &state, PanelPort &port, TickWaiter &waiter)
    : m_state(state), m_port(port), m_waiter(waiter)
{
}

LinkOutcome PanelProtocol::CheckReplyEnded()
{
    const QByteArray late = m_port.takeAll();
    if (late.isEmpty())
        return LinkOutcome::Ok;
    const QByteArray whole = m_lastReply + late;
    if (IsNumericReply(whole) && ConvertReply(whole).code == ConvertReply(m_lastReply).code)
        return LinkOutcome::Ok;
    m_state.error_flag = 1;
    return LinkOutcome::LateBytes;
}

QByteArray PanelProtocol::writeCommand(Code address, Code code)
{
    // Built byte by byte: the frame holds zero bytes, which would end a C string.
    QByteArray frame(6, '\0');
    frame[0] = 'S';
    frame[2] = char(address & 0xff);
    frame[4] = char(code & 0xff);
    frame[5] = 'D';
    return frame;
}

QByteArray PanelProtocol::readCommand(Code address)
{
    QByteArray frame(6, '\0');
    frame[0] = 'V';
    frame[2] = char(address & 0xff);
    frame[3] = '0';
    frame[4] = '0';
    frame[5] = 'V';
    return frame;
}

void PanelProtocol::send(const QByteArray &command)
{
    // Whatever came since the last command (a reply after its tick, the rest of a
    // dripping one) answers nothing we are about to ask: it must not become the
    // front of the next reply.
    m_port.discardInput();
    // Stopped from outside (the window closing, Ctrl+C): not one byte more.
    if (m_waiter.interrupted())
        return;
    m_port.send(command);
}

std::optional<LinkOutcome> PanelProtocol::stoppedEarly() const
{
    if (m_port.lostConnection())
        return LinkOutcome::ConnectionLost;
    if (m_waiter.interrupted())
        return LinkOutcome::Interrupted;
    return std::nullopt;
}

StepResult PanelProtocol::fail(LinkOutcome outcome)
{
    m_state.error_flag = 1;
    return {outcome, std::nullopt};
}

LinkOutcome PanelProtocol::Handshake(int attempts)
{
    int counter = 1;
    do {
        send(QByteArrayLiteral("A"));
        m_state.timer_flag = 0;
        if (!m_waiter.WaitForReply())
            return *stoppedEarly();
        ++counter;
    } while (m_port.bytesWaiting() < TickWaiter::kReplyLength && counter <= attempts);
    const QByteArray reply = m_port.takeAll();
    return reply == kAcknowledgement && m_state.timer_flag != 1 ? LinkOutcome::Ok : LinkOutcome::NoAcknowledgement;
}

StepResult PanelProtocol::WriteSwitchCode()
{
    send(writeCommand(m_state.address_l, m_state.data_l));
    m_state.error_flag = 0;
    if (!m_waiter.WaitForReply())
        return fail(*stoppedEarly());
    if (m_port.takeAll() != kAcknowledgement)
        return fail(LinkOutcome::NoAcknowledgement);

    ReplyValue value;
    if (const StepResult asked = askForCode(value); asked.outcome != LinkOutcome::Ok)
        return asked;
    m_state.A = value.code;
    if (m_state.A != m_state.data_l) {
        m_state.error_flag = 1;
        return {LinkOutcome::Mismatch, m_state.A};
    }
    return {LinkOutcome::Ok, m_state.A};
}

StepResult PanelProtocol::askForCode(ReplyValue &value)
{
    send(readCommand(m_state.address_l));
    if (!m_waiter.WaitForReply())
        return fail(*stoppedEarly());
    const QByteArray reply = m_lastReply = m_port.takeAll();
    // A missing or malformed reply is no reading: never let an older value, or a
    // zero made of junk, pass for one.
    if (reply.size() < kShortestReply)
        return fail(LinkOutcome::ShortReply);
    if (!IsNumericReply(reply))
        return fail(LinkOutcome::NotANumber);
    value = ConvertReply(reply);
    return {LinkOutcome::Ok, value.code};
}

StepResult PanelProtocol::ReadSwitchCode()
{
    m_state.error_flag = 0;
    ReplyValue value;
    if (const StepResult asked = askForCode(value); asked.outcome != LinkOutcome::Ok)
        return asked;
    m_state.A = value.code;
    if (value.outside16Bit || !isValidCode(m_state.A)) {
        m_state.error_flag = 1;
        return {LinkOutcome::OutOfRange, m_state.A};
    }
    return {LinkOutcome::Ok, m_state.A};
}

} // namespace kdr
