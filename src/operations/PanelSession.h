// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OperationResult.h"

#include "model/WorkingState.h"

#include <QObject>
#include <QString>

#include <memory>

namespace kdr {

class HeadlessPanelView;
class HeadlessStatusBox;
class PanelOperations;
class PanelPort;
class PanelProtocol;
class StatusBox;
class SwitchPanelView;
class TickWaiter;

// Everything needed to read and write one panel on one port: the working state,
// the port, the tick waiter, the protocol and the operations, wired in one place.
// It drives the lists and the status box only through two interfaces: a window
// hands in its own; a session made without them keeps a headless view and status
// box of its own, for callers without a screen.
//
// A session belongs to the thread it lives in; a headless owner may move it to a
// thread of its own, with its own event loop, and run its operations there.
// interrupt() may be called from any thread.
class PanelSession : public QObject {
    Q_OBJECT
public:
    PanelSession(const QString &device, SwitchPanelView &view, StatusBox &status, QObject *parent = nullptr);
    explicit PanelSession(const QString &device, QObject *parent = nullptr);
    ~PanelSession() override;

    OperationResult readPanel();
    OperationResult writePanel();
    // The handshake alone, up to `attempts` times; see PanelOperations::greetPanel.
    OperationResult greetPanel(int attempts);
    bool busy() const;

    // The port the next operation opens.
    QString device() const;
    void setDevice(const QString &device);

    // Ends the running operation's wait at once; nothing more is sent.
    void interrupt();

    WorkingState &state() { return m_state; }
    PanelPort &port() { return *m_port; }
    // Only for a session made without a view.
    HeadlessPanelView &headlessView() { return *m_headlessView; }
    HeadlessStatusBox &headlessStatus() { return *m_headlessStatus; }

private:
    void wire(SwitchPanelView &view, StatusBox &status);

    WorkingState m_state;
    std::unique_ptr<HeadlessPanelView> m_headlessView;
    std::unique_ptr<HeadlessStatusBox> m_headlessStatus;
    PanelPort *m_port;
    TickWaiter *m_waiter;
    std::unique_ptr<PanelProtocol> m_protocol;
    std::unique_ptr<PanelOperations> m_operations;
};

} // namespace kdr
