// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OperationResult.h"

#include "model/SwitchPanelView.h"
#include "model/WorkingState.h"

#include <functional>
#include <optional>

namespace kdr {

class PanelPort;
class PanelProtocol;
class StatusBox;
class TickWaiter;
struct StepResult;
enum class StepKind;

// Reading the ten switch codes out of the panel into the lists, and writing the
// lists' codes into the panel, each write verified. Both open the port first and
// close it on every path; both report through the status box and return how they
// ended.
//
// The waits keep the thread's events running, so a click can arrive while an
// operation runs: busy() tells the window to ignore its commands meanwhile, and a
// second operation started anyway returns Busy at once.
class PanelOperations {
public:
    PanelOperations(WorkingState &state, PanelPort &port, TickWaiter &waiter, PanelProtocol &protocol,
                    SwitchPanelView &view, StatusBox &status);

    OperationResult readPanel();
    OperationResult writePanel();
    // Only greets the panel: the port opened, "A" sent up to `attempts` times and
    // nothing else, the port closed. Touches neither the lists nor the status box;
    // Succeeded when the panel answered.
    OperationResult greetPanel(int attempts);

    bool busy() const { return m_busy; }

private:
    bool openPort(OperationResult &result);
    void report(StepKind kind, const StepResult &step);
    OperationResult &fail(OperationResult &result, OperationOutcome outcome, const QString &text);
    // Stops at a switch (−1: at the closing address): "COMMUNICATIONS FAILURE-BAD SWITCH
    // PANEL DATA", and the switch is marked in the view.
    OperationResult &failAt(OperationResult &result, int switchIndex, OperationOutcome outcome);
    // Shows the code in `A` in the switch's lists, as a read does.
    void showSwitch(int switchIndex);
    OperationResult &succeed(OperationResult &result, const QString &text);
    // After a pause that ended early: how the operation ends.
    OperationResult &stopped(OperationResult &result);
    // The pause after an exchange, in which the rest of a reply taken too early would
    // show. False when the operation ends here (`result` then says how); a reading
    // whose reply turns out unfinished is no reading.
    bool pauseAfterReply(OperationResult &result, StepKind kind, int switchIndex);
    // How every operation begins: refused while one runs; the status box yellow with
    // the start text, and shown; what must come before the port opens; the port
    // opened (else the operation ends there). Then the operation's own steps, after
    // which the port is closed and the timer stopped on every path.
    OperationResult run(const QString &startText, const std::function<void()> &beforeOpening,
                        const std::function<OperationResult &(OperationResult &)> &withPortOpen);
    // The greeting and the pause after it; false when the operation ends here.
    bool greeted(OperationResult &result);
    OperationResult &readSwitches(OperationResult &result);
    OperationResult &writeSwitches(OperationResult &result, std::optional<int> incomplete);

    WorkingState &m_state;
    PanelPort &m_port;
    TickWaiter &m_waiter;
    PanelProtocol &m_protocol;
    SwitchPanelView &m_view;
    StatusBox &m_status;
    bool m_busy = false;
};

} // namespace kdr
