// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#include <deque>
#include <mutex>

namespace kdr {

// The wire trace: every byte sent to and received from a panel, in hex, with the
// milliseconds since the program started and the port. Off by default; switched on
// with QT_LOGGING_RULES="kdr.link.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcWire)

enum class WireDirection { Sent, Received, Dropped };

void traceWire(const QString &device, WireDirection direction, const QByteArray &bytes);

// The wire trace kept in memory, for a program without a terminal to trace to (the
// window): the last twenty panel operations, each with what it was, its port, when it
// began and ended, how it ended, and its trace lines as --trace shows them (at most
// 64 KiB of them an operation). Safe from any thread.
class WireTraceMemory {
public:
    static constexpr int kOperations = 20;
    static constexpr qsizetype kOperationBytes = qsizetype(64) * 1024;

    struct Operation {
        QString what;
        QString device;
        QDateTime began;
        QDateTime ended;
        QString outcome;
        QStringList lines;
        qsizetype bytes = 0;
        bool cut = false; // lines were left out, past the bound
    };
    QList<Operation> operations() const;

    void begin(const QString &device, const QString &what);
    void end(const QString &device, const QString &outcome);
    void add(const QString &line);

private:
    mutable std::mutex m_mutex;
    std::deque<Operation> m_operations;
};

// Every trace line and operation goes to this memory too, from now on; the memory
// must outlive its use. forget…() ends that, if this memory is still the one.
void keepWireTraceIn(WireTraceMemory *memory);
void forgetWireTraceIn(WireTraceMemory *memory);
// Where a panel operation begins and ends, for the memory.
void traceOperationBegins(const QString &device, const QString &what);
void traceOperationEnds(const QString &device, const QString &outcome);

} // namespace kdr
