#pragma once

#include "model/WorkingState.h"

#include <QByteArray>

namespace kdr {

class MSComm1;
class StatusBox;
class TickWaiter;

// The panel's command protocol. The tool speaks first and the panel only answers:
// "A" is acknowledged with "D000D"; a write command is acknowledged with "D000D";
// a read command is answered with the stored code × 10 as decimal text.
//
// The procedures exchange values through the working state: `address_l` and
// `data_l` in, `A` and `error_flag` out, the outcome also shown in the status box.
class PanelProtocol {
public:
    static constexpr int kHandshakeAttempts = 6;
    static const QByteArray kAcknowledgement;  // "D000D"

    PanelProtocol(WorkingState &state, MSComm1 &port, TickWaiter &waiter, StatusBox &status);

    // Sends "A" up to six times until five or more bytes are waiting; true only for
    // exactly "D000D" received before the last wait's tick. Shows nothing itself.
    bool Handshake();

    // Writes `data_l` to `address_l` and reads it back. `error_flag` 0 only when the
    // acknowledgement is exactly "D000D" and the value read back equals `data_l`.
    void WriteSwitchCode();

    // Reads the code at `address_l` into `A`. `error_flag` 1 for a code outside
    // 0 … 160, and for a reply of fewer than four bytes (then `A` is left alone).
    void ReadSwitchCode();

    // The last ReadSwitchCode got fewer than four bytes: no value was read at all.
    bool lastReadGotNoValue() const { return m_lastReadGotNoValue; }

    static QByteArray writeCommand(Code address, Code code);
    static QByteArray readCommand(Code address);

private:
    WorkingState &m_state;
    MSComm1 &m_port;
    TickWaiter &m_waiter;
    StatusBox &m_status;
    bool m_lastReadGotNoValue = false;
};

} // namespace kdr
