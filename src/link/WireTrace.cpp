// SPDX-License-Identifier: GPL-3.0-or-later
#include "WireTrace.h"

#include <QElapsedTimer>

#include <atomic>

namespace kdr {

Q_LOGGING_CATEGORY(lcWire, "kdr.link", QtWarningMsg)

namespace {

// Started when the program is loaded, so that the trace's times count from its start.
const QElapsedTimer kProgramClock = [] {
    QElapsedTimer clock;
    clock.start();
    return clock;
}();

const char *arrow(WireDirection direction)
{
    switch (direction) {
    case WireDirection::Sent:
        return "->";
    case WireDirection::Received:
        return "<-";
    case WireDirection::Dropped:
        return "x ";
    }
    return "";
}

// Where the trace is kept in memory too, if anywhere.
std::atomic<WireTraceMemory *> kept = nullptr;

} // namespace

void traceWire(const QString &device, WireDirection direction, const QByteArray &bytes)
{
    WireTraceMemory *memory = kept;
    if ((!lcWire().isDebugEnabled() && !memory) || bytes.isEmpty())
        return;
    const double ms = double(kProgramClock.nsecsElapsed()) / 1e6;
    const QString line = QStringLiteral("%1 ms %2 %3 %4")
                             .arg(QString::number(ms, 'f', 3), device, QLatin1String(arrow(direction)),
                                  QString::fromLatin1(bytes.toHex(' ')));
    qCDebug(lcWire).noquote() << line;
    if (memory)
        memory->add(QStringLiteral("%1: %2").arg(QLatin1String(lcWire().categoryName()), line));
}

void keepWireTraceIn(WireTraceMemory *memory)
{
    kept = memory;
}

void forgetWireTraceIn(WireTraceMemory *memory)
{
    kept.compare_exchange_strong(memory, nullptr);
}

void traceOperationBegins(const QString &device, const QString &what)
{
    if (WireTraceMemory *memory = kept)
        memory->begin(device, what);
}

void traceOperationEnds(const QString &device, const QString &outcome)
{
    if (WireTraceMemory *memory = kept)
        memory->end(device, outcome);
}

void WireTraceMemory::begin(const QString &device, const QString &what)
{
    const std::lock_guard lock(m_mutex);
    m_operations.push_back({what, device, QDateTime::currentDateTime(), {}, {}, {}, 0, false});
    while (m_operations.size() > size_t(kOperations))
        m_operations.pop_front();
}

void WireTraceMemory::end(const QString &device, const QString &outcome)
{
    const std::lock_guard lock(m_mutex);
    for (auto operation = m_operations.rbegin(); operation != m_operations.rend(); ++operation) {
        if (operation->device == device && !operation->ended.isValid()) {
            operation->ended = QDateTime::currentDateTime();
            operation->outcome = outcome;
            return;
        }
    }
}

void WireTraceMemory::add(const QString &line)
{
    const std::lock_guard lock(m_mutex);
    if (m_operations.empty())
        return;
    Operation &last = m_operations.back();
    if (last.bytes + line.size() > kOperationBytes) {
        last.cut = true;
        return;
    }
    last.lines << line;
    last.bytes += line.size();
}

QList<WireTraceMemory::Operation> WireTraceMemory::operations() const
{
    const std::lock_guard lock(m_mutex);
    return QList<Operation>(m_operations.begin(), m_operations.end());
}

} // namespace kdr
