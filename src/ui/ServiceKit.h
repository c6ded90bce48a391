// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireTrace.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace kdr {

class FileCommands;
class FileDialogs;
class PanelJobs;
class StatusBox;
class SwitchPanelView;
struct WorkingState;

// The window's service commands, for technicians without a terminal: the
// configuration sheet of what the window holds, the wire trace of this run's panel
// operations saved for a service desk, the panel found on whichever port it answers
// (every port greeted at once, with the handshake alone), and what the program is.
class ServiceKit : public QObject {
    Q_OBJECT
public:
    // What of the window the commands work with.
    struct Window {
        QWidget *parent;
        WorkingState &state;
        SwitchPanelView &view;
        StatusBox &status;
        FileDialogs &dialogs;
        FileCommands &files;
        std::function<QString()> device;             // the port the window uses
        std::function<QString()> file;               // the configuration file in use, or empty
        std::function<QStringList()> ports;          // the ports to search
        std::function<void(const QString &)> choose; // takes a port as a choice in the chooser
    };
    static const QString kSheetTitle, kSheetFilter, kTraceTitle, kTraceFilter, kNoTrace;

    explicit ServiceKit(Window window, QObject *parent = nullptr);
    ~ServiceKit() override;

    // Refused as a save is for an incomplete switch; a cancelled dialog does nothing.
    void saveSheet();
    void saveTrace();
    // Yellow "SEARCHING FOR THE SWITCH PANEL", then green "SWITCH PANEL FOUND ON COM3"
    // (the port chosen as the chooser would choose it) or red "NO SWITCH PANEL ANSWERED
    // ON 4 PORTS".
    void findPanel();
    bool searching() const { return m_search != nullptr; }
    void showAbout();

    // The trace as saveTrace() writes it.
    QString traceText() const;

signals:
    void searchEnded();

private:
    Window m_window;
    WireTraceMemory m_trace;
    std::unique_ptr<PanelJobs> m_search;
};

} // namespace kdr
