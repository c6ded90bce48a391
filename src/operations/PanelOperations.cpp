#include "PanelOperations.h"

#include "StepStatus.h"

#include "link/PanelPort.h"
#include "link/PanelProtocol.h"
#include "link/TickWaiter.h"
#include "model/StatusBox.h"
#include "model/StatusTexts.h"
#include "model/SwitchDecoding.h"
#include "model/SwitchSelection.h"

#include <QScopeGuard>
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
    fail(result, OperationOutcome::PortNotOpened, portNotOpened(m_port.device()));
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

OperationResult PanelOperations::readPanel()
{
    OperationResult result;
    if (m_busy) {
        result.outcome = OperationOutcome::Busy;
        return result;
    }
    const QScopedValueRollback<bool> busy(m_busy, true);

    m_status.setStatusColour(StatusColour::Yellow);
    m_status.setStatusText(kStartingRead);
    m_status.showStatus();
    m_view.setPanelNameText(QString());

    if (!openPort(result))
        return result;
    // Every path from here on ends with the port closed and the timer quiet.
    const auto closer = qScopeGuard([this] {
        m_port.close();
        m_waiter.stop();
    });

    if (const LinkOutcome greeting = m_protocol.Handshake(); greeting != LinkOutcome::Ok)
        return fail(result, outcomeOfFailedGreeting(greeting), kNoResponse);

    for (int i = 0; i < kSwitchCount; ++i) {
        if (!m_waiter.WaitOneTick())
            return stopped(result);
        m_state.address_l = Code(panelAddress(i));
        m_status.showStatus();
        const StepResult step = m_protocol.ReadSwitchCode();
        report(StepKind::Read, step);
        if (!step.value) {
            // Nothing was read: leave the switch as it stands rather than show a guess.
            result.failedSwitch = i;
            return fail(result, outcomeOfFailedStep(step.outcome), kBadData);
        }
        result.codesRead[i] = *step.value;
        DecodeSwitchCode(m_state);
        m_view.selectModulePosition(i, m_state.h_index);
        m_view.selectChannelPosition(i, m_state.l_index);
        m_view.setDesignationText(i, QString());
        m_view.setDesignationVisible(i, false);
        if (m_state.error_flag == 1) {
            result.failedSwitch = i;
            return fail(result, OperationOutcome::BadData, kBadData);
        }
    }

    if (!m_waiter.WaitOneTick())
        return stopped(result);
    return succeed(result, kReadSuccessful);
}

OperationResult PanelOperations::writePanel()
{
    OperationResult result;
    if (m_busy) {
        result.outcome = OperationOutcome::Busy;
        return result;
    }
    const QScopedValueRollback<bool> busy(m_busy, true);

    m_status.setStatusColour(StatusColour::Yellow);
    m_status.showStatus();
    m_status.setStatusText(kStartingWrite);

    m_state.error_flag = 0;
    const std::optional<int> incomplete = CollectSwitchCodes(m_state, listPositionsOf(m_view));
    m_state.BL = kClosingValue;

    if (!openPort(result))
        return result;
    // Every path from here on ends with the port closed and the timer quiet.
    const auto closer = qScopeGuard([this] {
        m_port.close();
        m_waiter.stop();
    });

    if (m_state.error_flag == 1) {
        result.failedSwitch = incomplete.value_or(-1);
        return fail(result, OperationOutcome::Incomplete, kIncomplete);
    }

    if (const LinkOutcome greeting = m_protocol.Handshake(); greeting != LinkOutcome::Ok)
        return fail(result, outcomeOfFailedGreeting(greeting), kNoResponse);

    for (int address = 0; address <= kClosingAddress; ++address) {
        if (!m_waiter.WaitOneTick())
            return stopped(result);
        m_state.address_l = Code(address);
        m_state.data_l = address < kSwitchCount ? m_state.sw[address].w : m_state.BL;
        const StepResult step = m_protocol.WriteSwitchCode();
        report(StepKind::Write, step);
        if (m_state.error_flag == 1) {
            result.failedSwitch = address < kSwitchCount ? address : -1;
            return fail(result, outcomeOfFailedStep(step.outcome), kBadData);
        }
    }

    if (!m_waiter.WaitOneTick())
        return stopped(result);
    return succeed(result, kProgrammed);
}

} // namespace kdr
