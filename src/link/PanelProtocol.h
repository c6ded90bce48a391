// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PanelReply.h"

#include "model/WorkingState.h"

#include <QByteArray>

#include <optional>

namespace kdr {

class PanelPort;
class TickWaiter;

// What one exchange with the panel came to.
enum class LinkOutcome {
    Ok,
    NoAcknowledgement, // the answer to "A" or to a write was not exactly "D000D"
    ShortReply,        // a read or read-back answered fewer than four bytes, or nothing
    NotANumber,        // a read or read-back answer that is no number
    OutOfRange,        // a read value outside 0 … 160
    Mismatch,          // the read-back differs from the code written
    LateBytes,         // more came after a reply was taken: it was not the whole reply
    ConnectionLost,    // the cable went away during the exchange
    Interrupted,       // the wait was stopped from outside (window closing, Ctrl+C)
};

// An exchange's outcome and, where one was read, the value read.
struct StepResult {
    LinkOutcome outcome = LinkOutcome::Ok;
    std::optional<Code> value;
};

// The panel's command protocol. The tool speaks first and the panel only answers:
// "A" is acknowledged with "D000D"; a write command is acknowledged with "D000D";
// a read command is answered with the stored code × 10 as decimal text.
//
// The procedures take `address_l` and `data_l` from the working state and leave
// `A` and `error_flag` in it, as the panel's procedures always have; each also
// returns what happened. Before every command the line is emptied, so only a reply
// that comes within its own tick counts, and only a number counts as a read. After
// a wait that ended because of a lost cable or an interruption nothing more is sent.
class PanelProtocol {
public:
    static constexpr int kHandshakeAttempts = 6;
    static const QByteArray kAcknowledgement; // "D000D"

    PanelProtocol(WorkingState &state, PanelPort &port, TickWaiter &waiter);

    // Sends "A" up to six times (or `attempts`) until five or more bytes are waiting;
    // Ok only for exactly "D000D" received before the last wait's tick.
    LinkOutcome Handshake(int attempts = kHandshakeAttempts);

    // Writes `data_l` to `address_l` and reads it back. `error_flag` 0 only when the
    // acknowledgement is exactly "D000D" and the value read back equals `data_l`;
    // `A` holds the value read back whenever one was read.
    StepResult WriteSwitchCode();

    // Reads the code at `address_l` into `A`. `error_flag` 1 for a code outside
    // 0 … 160, and for a reply of fewer than four bytes or one that is no number
    // (then `A` is left alone).
    StepResult ReadSwitchCode();

    // After the pause that follows a read or a read-back: Ok when nothing came since
    // its reply was taken, or only what a well-formed reply may end with (blanks,
    // carriage returns, line feeds). Anything else means the reply was taken before
    // the panel had finished it (it came too slowly to fit its tick): LateBytes, with
    // `error_flag` 1.
    LinkOutcome CheckReplyEnded();

    static QByteArray writeCommand(Code address, Code code);
    static QByteArray readCommand(Code address);

private:
    // Empties the line, then sends.
    void send(const QByteArray &command);
    // What a wait that ended early means, if it did.
    std::optional<LinkOutcome> stoppedEarly() const;
    StepResult fail(LinkOutcome outcome);
    // Sends the read command for `address_l` and takes the reply's value; anything
    // but a whole number in time fails, with `error_flag` 1 and `A` left alone.
    StepResult askForCode(ReplyValue &value);

    WorkingState &m_state;
    PanelPort &m_port;
    TickWaiter &m_waiter;
    QByteArray m_lastReply; // the last read or read-back reply, as taken
};

} // namespace kdr
