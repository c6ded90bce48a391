// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CliRequest.h"
#include "operations/PanelJobs.h"

#include "files/KdcFormat.h"
#include "link/InProcessLine.h"

#include <QObject>

#include <array>
#include <memory>

namespace kdr::cli {

class RecordKeeper;
class StationProgram;

// kdr-panel's work for one request: checks the file before any port is opened,
// runs the panel operation on every port at once, prints what came of it and
// ends the event loop with the exit status.
class CliProgram : public QObject {
    Q_OBJECT
public:
    explicit CliProgram(CliRequest request, QObject *parent = nullptr);
    ~CliProgram() override;

    // Starts the work; the application's event loop ends with the exit status.
    void start();
    // Ctrl+C, SIGTERM or SIGHUP: every port stops at once; the program ends with
    // 128 + signal.
    void stop(int signalNumber);
    // Every port talks to the peer of this line instead (a panel simulated inside the
    // program); the line must outlive the program's work.
    void useInProcessLine(InProcessLine *line) { m_line = line; }

private:
    int showPorts();
    int showFile();
    bool loadFile();
    // read --output: false, said, when the reading could not be saved there.
    bool outputCanBeSaved() const;
    // --log: false, said, when the record cannot be written; found before a port opens.
    bool recordCanBeKept();
    void runStation();
    void runOnPorts();
    void portsEnded(const QList<PortReport> &reports);
    void concludeRead(PanelSession &session, PortReport &report) const;
    // The name a reading is saved and drawn under: --name, else the file's base name.
    QString readingPanelName() const;
    void finish(int status);
    void show(const QByteArray &text);

    CliRequest m_request;
    std::optional<KdcRecord> m_record;
    std::array<Code, kSwitchCount> m_fileCodes{}; // what a write sends, and a verify expects
    QByteArray m_fileBytes;
    std::unique_ptr<RecordKeeper> m_keeper;
    std::unique_ptr<PanelJobs> m_jobs;
    std::unique_ptr<StationProgram> m_station;
    InProcessLine *m_line = nullptr;
    int m_stoppedBy = 0;
    bool m_outputFailed = false;
};

} // namespace kdr::cli
