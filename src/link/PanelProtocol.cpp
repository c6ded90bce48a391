#include "PanelProtocol.h"

#include "MSComm1.h"
#include "PanelReply.h"
#include "StatusBox.h"
#include "StatusTexts.h"
#include "TickWaiter.h"

namespace kdr {

using namespace StatusTexts;

namespace {

constexpr int kShortestReply = 4;

bool isValidCode(Code code) { return code >= 0 && code <= kCodeNotAssigned; }

} // namespace

const QByteArray PanelProtocol::kAcknowledgement = QByteArrayLiteral("D000D");

PanelProtocol::PanelProtocol(WorkingState &state, MSComm1 &port, TickWaiter &waiter, StatusBox &status)
    : m_state(state), m_port(port), m_waiter(waiter), m_status(status)
{
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

bool PanelProtocol::Handshake()
{
    int counter = 1;
    do {
        m_port.output(QByteArrayLiteral("A"));
        m_state.timer_flag = 0;
        m_waiter.WaitForReply();
        ++counter;
    } while (m_port.inBufferCount() < TickWaiter::kReplyLength && counter <= kHandshakeAttempts
             && !m_waiter.interrupted());
    const QByteArray reply = m_port.input();
    return reply == kAcknowledgement && m_state.timer_flag != 1;
}

void PanelProtocol::WriteSwitchCode()
{
    m_port.output(writeCommand(m_state.address_l, m_state.data_l));
    m_state.error_flag = 0;
    m_waiter.WaitForReply();
    if (m_port.input() != kAcknowledgement) {
        m_state.error_flag = 1;
        return;
    }

    m_port.output(readCommand(m_state.address_l));
    m_waiter.WaitForReply();
    const QByteArray reply = m_port.input();
    if (reply.size() < kShortestReply) {
        m_state.error_flag = 1;
        m_status.setStatusText(kCorrupted);
        return;
    }
    m_state.A = ConvertReply(reply).code;
    if (m_state.A == m_state.data_l) {
        m_status.setStatusColour(StatusColour::Yellow);
        m_status.setStatusText(kCommunicationsOk);
    } else {
        m_state.error_flag = 1;
        m_status.setStatusText(kFailedToVerify);
    }
}

void PanelProtocol::ReadSwitchCode()
{
    m_status.showStatus();
    m_state.error_flag = 0;
    m_lastReadGotNoValue = false;
    m_port.output(readCommand(m_state.address_l));
    m_waiter.WaitForReply();
    const QByteArray reply = m_port.input();
    if (reply.size() < kShortestReply) {
        // A missing reply is no reading: never let an older value pass for one.
        m_lastReadGotNoValue = true;
        m_state.error_flag = 1;
        m_status.setStatusText(kCorrupted);
        return;
    }
    const ReplyValue value = ConvertReply(reply);
    m_state.A = value.code;
    if (value.outside16Bit || !isValidCode(m_state.A)) {
        m_state.error_flag = 1;
        m_status.setStatusText(kOutOfRange);
    } else {
        m_status.setStatusText(kCommunicationsOk);
    }
}

} // namespace kdr
