// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OperationResult.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

class QThread;

namespace kdr {

class PanelSession;

// How one port's part of a command went.
struct PortReport {
    QString device;
    OperationResult result;
    double seconds = 0;     // wall time of the operation on this port
    QList<int> differences; // verify: switches (0 … 9) whose panel code differs from the file
    QString problem;        // a failure after the operation, in plain words (e.g. saving the reading)
};

// Runs one panel operation on several ports at the same time: a session per port,
// each in a thread of its own with its own event loop, so that one port's waits
// never hold up another's. One port's failure does not stop the others.
class PanelJobs : public QObject {
    Q_OBJECT
public:
    // A greeting is the handshake alone (six "A" at most), to find which port a panel is on.
    enum class Operation { Read, Write, Greet };
    // Run in the port's own thread, before and after the operation.
    using Prepare = std::function<void(PanelSession &)>;
    using Conclude = std::function<void(PanelSession &, PortReport &)>;

    PanelJobs(const QStringList &devices, Operation operation, Prepare prepare = {}, Conclude conclude = {});
    ~PanelJobs() override;

    void start();
    // Stops every port at once: nothing more is sent, every port is closed. Safe to
    // call at any time, also before or after the operations.
    void interrupt();

signals:
    // Once every port has ended, in the order the devices were given.
    void finished(const QList<kdr::PortReport> &reports);

private:
    struct Port;
    // The ports' threads hand their sessions and reports over under a lock, and the
    // last one to end asks the main thread to take them all: the call carries no data
    // of its own, and no two threads touch the main thread's queue at once, so that
    // nothing depends on the ordering inside Qt's queue, which a race checker cannot see.
    Q_INVOKABLE void takeEndedPorts();

    Operation m_operation;
    Prepare m_prepare;
    Conclude m_conclude;
    std::vector<std::unique_ptr<Port>> m_ports;
    QList<PortReport> m_reports;
    std::mutex m_endedLock;
    std::vector<std::pair<int, PortReport>> m_ended; // under m_endedLock
};

} // namespace kdr
