// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>

#include <array>
#include <chrono>
#include <optional>

namespace kdr::sim {

// A panel plugged into the adapter's cable and out again, as on a production line:
// in for `in`, then out for `out`, so many times, then out for good (0 times: always
// in). While out, the line stays but nothing answers; each panel plugged in is a new
// one, every code at 160 as from the factory.
struct PlugSchedule {
    std::chrono::milliseconds in{0};
    std::chrono::milliseconds out{0};
    int times = 0;
};

// How a simulated panel misbehaves. The defaults make a healthy panel.
struct PanelFaults {
    bool silent = false;                               // answers nothing at all
    QByteArray handshakeReply = "D000D";               // a wrong acknowledgement of "A"
    QByteArray writeAcknowledgement = "D000D";         // a wrong acknowledgement of a write
    int answerFromHandshake = 1;                       // answer "A" only from the n-th one on
    std::chrono::milliseconds replyDelay{0};           // every reply this late
    QMap<int, std::chrono::milliseconds> replyDelayAt; // replies for that address this late
    std::chrono::milliseconds dripInterval{0};         // replies sent a byte at a time, this far apart
    QByteArray trailing;                               // extra bytes after every reply
    QMap<int, QByteArray> readReplyAt;                 // a read at that address answers this
                                                       // (empty: no reply at all)
    int hangUpAfterCommands = 0;                       // hang up once this many commands came
                                                       // since the terminal was plugged in
    std::chrono::milliseconds stallAfterReply{0};      // block the thread after replying (in-process)
    PlugSchedule plugs;                                // panels plugged in and out in turn
};

// The panel's side of the protocol, without any transport: bytes in, replies out.
// It keeps one code per address 0 … 10 and answers a read with the stored code
// × 10 as five digits ("01500" for 150).
class SimulatedPanel {
public:
    static constexpr int kAddresses = 11;

    explicit SimulatedPanel(PanelFaults faults = {});

    // One of each kind of assignment, so that a first read shows what the lists can hold.
    void storeSampleConfiguration();
    // A panel as from the factory: every switch 160 ("N/A"), the closing address 159.
    void storeFactoryConfiguration();

    struct Command {
        QByteArray bytes;
        std::optional<QByteArray> reply; // nothing when the panel stays silent
        // The panel address a write or read command names; −1 for "A" and strays.
        int address() const { return bytes.size() == 6 ? quint8(bytes[2]) : -1; }
    };

    // Takes received bytes and returns the commands they completed, in order.
    // Bytes that start no command come back as one-byte commands without a reply.
    QList<Command> receive(const QByteArray &bytes);

    // Out of the cable (see PlugSchedule), it answers and stores nothing.
    bool present() const { return m_present; }
    void setPresent(bool present) { m_present = present; }

    int code(int address) const { return m_codes.at(address); }
    void setCode(int address, int code) { m_codes.at(address) = code; }
    PanelFaults &faults() { return m_faults; }
    const PanelFaults &faults() const { return m_faults; }

private:
    std::optional<QByteArray> answer(const QByteArray &command);

    PanelFaults m_faults;
    std::array<int, kAddresses> m_codes{};
    QByteArray m_pending;
    int m_handshakes = 0;
    bool m_present = true;
};

} // namespace kdr::sim
