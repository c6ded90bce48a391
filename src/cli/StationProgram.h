// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliRequest.h"

#include "files/KdcFormat.h"
#include "link/InProcessLine.h"
#include "operations/StationLoop.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QThread;

namespace kdr::cli {

class RecordKeeper;

// kdr-panel station: a station loop at every port, each in a thread of its own. It
// prints a line for every panel once its record is on the disk, and when all the
// loops have ended (stopped by a signal, their count reached, or the record failing),
// a summary; then it ends with the exit status.
class StationProgram : public QObject, public StationObserver {
    Q_OBJECT
public:
    // The file to program, as loaded; `keeper` is the record, or none.
    StationProgram(const CliRequest &request, KdcRecord record, RecordKeeper *keeper, InProcessLine *line,
                   QObject *parent = nullptr);
    ~StationProgram() override;

    void start();
    // A signal: every port stops between frames.
    void stop();

signals:
    void finished(int exitStatus);

private:
    struct Port;
    struct Event {
        enum Kind { Panel, Ended } kind;
        StationPanel panel;
        QString why;
        int exitStatus = 0;
        QString status;
    };

    // Called in the ports' threads.
    QString beforePanel(const QString &port) override;
    QString panelEnded(const StationPanel &panel) override;
    void loopEnded(const QString &port, const QString &why) override;

    // The ports' threads hand their events over under a lock, and only then ask the
    // main thread to take them (as PanelJobs does).
    void handOver(Event event);
    Q_INVOKABLE void takeEvents();
    void show(const StationPanel &panel, int exitStatus, const QString &status);
    void showSummary();

    CliRequest m_request;
    KdcRecord m_record;
    RecordKeeper *m_keeper;
    InProcessLine *m_line;
    std::vector<std::unique_ptr<Port>> m_ports;
    qsizetype m_portWidth = 0;
    int m_running = 0;
    int m_status = 0;
    bool m_outputFailed = false;
    std::atomic<bool> m_recordFailed = false;
    std::mutex m_eventsLock;
    std::vector<Event> m_events; // under m_eventsLock
};

} // namespace kdr::cli
