// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelOperations.h"

#include "StepStatus.h"

#include "link/PanelPort.h"
#include "link/PanelProtocol.h"
#include "link/SerialPorts.h"
#include "link/TickWaiter.h"
#include "link/WireTrace.h"
#include "model/StatusBox.h"
#include "model/StatusTexts.h"

#include <QScopeGuard>

#include <algorithm>
#include <QScopedValueRollback>

namespace kdr {

using namespace StatusTexts;

namespace {

OperationOutcome outcomeOfFailedStep(LinkOutcome outcome)
{
    switch (outcome) {
    case LinkOutcome::ConnectionLost:
        return OperationOutcome::ConnectionLost;
    case LinkOutcome::Interrupted:
        return OperationOutcome::Interrupted;
    default:
        return OperationOutcome::BadData;
    }
}

// A second operation started while one runs does nothing at all.
OperationResult refusedAsBusy()
{
    OperationResult result;
    result.outcome = OperationOutcome::Busy;
    return result;
}

OperationOutcome outcomeOfFailedGreeting(LinkOutcome outcome)
{
    const OperationOutcome o = outcomeOfFailedStep(outcome);
    return o == OperationOutcome::BadData ? OperationOutcome::NoResponse : o;
}

} // namespace

PanelOperations::PanelOperations(WorkingState &state, PanelPort &port, TickWaiter &waiter, PanelProtocol &protocol,
                                 SwitchPanelView &view, StatusBox &status)
    : m_state(state), m_port(port), m_waiter(waiter), m_protocol(protocol), m_view(view), m_status(status)
{
}

bool PanelOperations::openPort(OperationResult &result)
{
    result.portError = m_port.open(kPanelLineSettings);
    if (result.portError == PortOpenError::None)
        return true;
    fail(result, OperationOutcome::PortNotOpened,
         portNotOpened(shortDeviceName(m_port.device()), portOpenReason(result.portError)));
    return false;
}

void PanelOperations::report(StepKind kind, const StepResult &step)
{
    const auto shown = statusAfterStep(kind, step.outcome);
    if (!shown)
        return;
    if (shown->colour)
        m_status.setStatusColour(*shown->colour);
    m_status.setStatusText(shown->text);
}

OperationResult &PanelOperations::fail(OperationResult &result, OperationOutcome outcome, const QString &text)
{
    m_status.setStatusColour(StatusColour::Red);
    m_status.setStatusText(text);
    m_status.showStatus();
    result.outcome = outcome;
    result.statusText = text;
    return result;
}

OperationResult &PanelOperations::failAt(OperationResult &result, int switchIndex, OperationOutcome outcome)
{
    result.failedSwitch = switchIndex;
    if (switchIndex >= 0)
        m_view.showFailedSwitch(switchIndex);
    return fail(result, outcome, kBadData);
}

OperationResult &PanelOperations::succeed(OperationResult &result, const QString &text)
{
    m_status.setStatusColour(StatusColour::Green);
    m_status.setStatusText(text);
    result.outcome = OperationOutcome::Succeeded;
    result.statusText = text;
    return result;
}

OperationResult &PanelOperations::stopped(OperationResult &result)
{
    return fail(result, m_port.lostConnection() ? OperationOutcome::ConnectionLost : OperationOutcome::Interrupted,
                kBadData);
}

bool PanelOperations::pauseAfterReply(OperationResult &result, StepKind kind, int switchIndex)
{
    if (!m_waiter.WaitOneTick()) {
        stopped(result);
        return false;
    }
    const LinkOutcome tail = m_protocol.CheckReplyEnded();
    if (tail == LinkOutcome::Ok)
        return true;
    report(kind, {tail, std::nullopt});
    if (switchIndex >= 0)
        result.codesRead[switchIndex].reset();
    failAt(result, switchIndex, OperationOutcome::BadData);
    return false;
}

OperationResult PanelOperations::run(const QString &startText, const std::function<void()> &beforeOpening,
                                     const std::function<OperationResult &(OperationResult &)> &withPortOpen)
{
    if (m_busy)
        return refusedAsBusy();
    const QScopedValueRollback<bool> busy(m_busy, true);
    OperationResult result;

    m_status.setStatusColour(StatusColour::Yellow);
    m_status.setStatusText(startText);
    m_status.showStatus();
    beforeOpening();

    // What happens on the wire is kept for the service desk, operation by operation.
    traceOperationBegins(m_port.device(),
                         startText == kStartingRead ? QStringLiteral("READ") : QStringLiteral("WRITE"));
    const auto traced = qScopeGuard([&] { traceOperationEnds(m_port.device(), result.statusText); });
    if (!openPort(result))
        return result;
    // Every path after the port opened ends with it closed and the timer quiet.
    const auto closer = qScopeGuard([this] {
        m_port.close();
        m_waiter.stop();
    });
    return withPortOpen(result);
}

bool PanelOperations::greeted(OperationResult &result)
{
    if (const LinkOutcome greeting = m_protocol.Handshake(); greeting != LinkOutcome::Ok) {
        // A line lost while greeting is a lost line, said as wherever else it is lost.
        const OperationOutcome outcome = outcomeOfFailedGreeting(greeting);
        fail(result, outcome, outcome == OperationOutcome::ConnectionLost ? kBadData : kNoResponse);
        return false;
    }
    result.greeted = true;
    if (!m_waiter.WaitOneTick()) {
        // Before the first switch: that is where it stopped.
        if (stopped(result).outcome == OperationOutcome::ConnectionLost)
            failAt(result, 0, OperationOutcome::ConnectionLost);
        return false;
    }
    return true;
}

OperationResult PanelOperations::greetPanel(int attempts)
{
    if (m_busy)
        return refusedAsBusy();
    const QScopedValueRollback<bool> busy(m_busy, true);
    OperationResult result;
    traceOperationBegins(m_port.device(), QStringLiteral("GREETING"));
    const auto traced = qScopeGuard([&] {
        traceOperationEnds(m_port.device(),
                           result.greeted ? QStringLiteral("THE PANEL ANSWERED") : QStringLiteral("NO ANSWER"));
    });
    result.portError = m_port.open(kPanelLineSettings);
    if (result.portError != PortOpenError::None) {
        result.outcome = OperationOutcome::PortNotOpened;
        return result;
    }
    const auto closer = qScopeGuard([this] {
        m_port.close();
        m_waiter.stop();
    });
    const LinkOutcome greeting = m_protocol.Handshake(attempts);
    result.greeted = greeting == LinkOutcome::Ok;
    result.outcome = result.greeted ? OperationOutcome::Succeeded : outcomeOfFailedGreeting(greeting);
    return result;
}

OperationResult PanelOperations::readPanel()
{
    return run(
        kStartingRead, [this] { m_view.setPanelNameText(QString()); },
        [this](OperationResult &result) -> OperationResult & { return readSwitches(result); });
}

OperationResult &PanelOperations::readSwitches(OperationResult &result)
{
    if (!greeted(result))
        return result;
    // A reading is shown only after the pause that follows it: whatever comes in that
    // pause tells whether the reply was whole when it was taken.
    for (int i = 0; i < kSwitchCount; ++i) {
        m_state.address_l = Code(panelAddress(i));
        m_status.showStatus();
        const StepResult step = m_protocol.ReadSwitchCode();
        report(StepKind::Read, step);
        // Nothing was read: leave the switch as it stands rather than show a guess.
        if (!step.value)
            return failAt(result, i, outcomeOfFailedStep(step.outcome));
        result.codesRead[i] = *step.value;
        if (step.outcome == LinkOutcome::Ok && !pauseAfterReply(result, StepKind::Read, i)) {
            // The reply came whole and in time; a cable lost in the pause after it
            // takes nothing from it: the switch shows it, the next one is where it
            // stopped (after the tenth, the tenth's pause is).
            if (result.outcome != OperationOutcome::ConnectionLost || !result.codesRead[i])
                return result;
            showSwitch(i);
            return failAt(result, std::min(i + 1, kSwitchCount - 1), OperationOutcome::ConnectionLost);
        }
        showSwitch(i);
        // Out of range: the switch shows what was read, and the read stops at once.
        if (m_state.error_flag == 1)
            return failAt(result, i, OperationOutcome::BadData);
    }
    return succeed(result, kReadSuccessful);
}

void PanelOperations::showSwitch(int switchIndex)
{
    selectDecodedCode(m_state, m_view, switchIndex);
    m_view.setDesignationText(switchIndex, QString());
    m_view.setDesignationVisible(switchIndex, false);
}

OperationResult PanelOperations::writePanel()
{
    std::optional<int> incomplete;
    return run(
        kStartingWrite, [&] { incomplete = collectCodesForWriting(m_state, m_view); },
        [&](OperationResult &result) -> OperationResult & { return writeSwitches(result, incomplete); });
}

OperationResult &PanelOperations::writeSwitches(OperationResult &result, std::optional<int> incomplete)
{
    // Refused with the port open and nothing sent.
    if (m_state.error_flag == 1) {
        result.failedSwitch = incomplete.value_or(-1);
        m_view.showFailedSwitch(result.failedSwitch);
        return fail(result, OperationOutcome::Incomplete, kIncomplete);
    }
    if (!greeted(result))
        return result;
    for (int address = 0; address <= kClosingAddress; ++address) {
        m_state.address_l = Code(address);
        m_state.data_l = address < kSwitchCount ? m_state.sw[address].w : m_state.BL;
        const int failedSwitch = address < kSwitchCount ? address : -1;
        const StepResult step = m_protocol.WriteSwitchCode();
        report(StepKind::Write, step);
        if (address < kSwitchCount)
            result.codesRead[address] = step.value;
        if (m_state.error_flag == 1)
            return failAt(result, failedSwitch, outcomeOfFailedStep(step.outcome));
        if (!pauseAfterReply(result, StepKind::Write, failedSwitch)) {
            // Written and verified: a cable lost in the pause after it stops the write
            // at the next step (after the closing value, at its own).
            if (result.outcome == OperationOutcome::ConnectionLost && address < kClosingAddress)
                return failAt(result, address + 1 < kSwitchCount ? address + 1 : -1, OperationOutcome::ConnectionLost);
            return result;
        }
    }
    return succeed(result, kProgrammed);
}

} // namespace kdr
