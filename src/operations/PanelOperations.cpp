#include "PanelOperations.h"

#include "link/MSComm1.h"
#include "link/PanelProtocol.h"
#include "link/StatusBox.h"
#include "link/StatusTexts.h"
#include "link/TickWaiter.h"
#include "model/SwitchDecoding.h"
#include "model/SwitchSelection.h"

#include <QScopeGuard>
#include <QScopedValueRollback>

namespace kdr {

using namespace StatusTexts;

const QString PanelOperations::kLineSettings = QStringLiteral("9600,N,8,1");

PanelOperations::PanelOperations(WorkingState &state, MSComm1 &port, TickWaiter &waiter,
                                 PanelProtocol &protocol, SwitchPanelView &view, StatusBox &status)
    : m_state(state), m_port(port), m_waiter(waiter), m_protocol(protocol), m_view(view), m_status(status)
{
}

bool PanelOperations::openPort()
{
    m_port.setCommPort(kPortNumber);
    m_port.setSettings(kLineSettings);
    m_port.setPortOpen(true);
    if (m_port.portOpen())
        return true;
    fail(portNotOpened(m_port.deviceName()));
    return false;
}

void PanelOperations::fail(const QString &text)
{
    m_status.setStatusColour(StatusColour::Red);
    m_status.setStatusText(text);
    m_status.showStatus();
}

void PanelOperations::succeed(const QString &text)
{
    m_status.setStatusColour(StatusColour::Green);
    m_status.setStatusText(text);
}

void PanelOperations::READ_CONFIG_Click()
{
    if (m_busy)
        return;
    const QScopedValueRollback<bool> busy(m_busy, true);

    m_status.setStatusColour(StatusColour::Yellow);
    m_status.setStatusText(kStartingRead);
    m_status.showStatus();
    m_view.setPanelNameText(QString());

    if (!openPort())
        return;
    // Every path from here on ends with the port closed.
    const auto closer = qScopeGuard([this] { m_port.setPortOpen(false); });

    if (!m_protocol.Handshake()) {
        fail(kNoResponse);
        return;
    }

    for (int i = 0; i < kSwitchCount; ++i) {
        m_waiter.WaitOneTick();
        m_state.address_l = Code(panelAddress(i));
        m_protocol.ReadSwitchCode();
        if (m_protocol.lastReadGotNoValue()) {
            // Nothing was read: leave the switch as it stands rather than show a guess.
            fail(kBadData);
            return;
        }
        DecodeSwitchCode(m_state);
        m_view.selectModulePosition(i, m_state.h_index);
        m_view.selectChannelPosition(i, m_state.l_index);
        m_view.setDesignationText(i, QString());
        m_view.setDesignationVisible(i, false);
        if (m_state.error_flag == 1) {
            fail(kBadData);
            return;
        }
    }

    m_waiter.WaitOneTick();
    succeed(kReadSuccessful);
}

void PanelOperations::WRITE_CONFIG_Click()
{
    if (m_busy)
        return;
    const QScopedValueRollback<bool> busy(m_busy, true);

    m_status.setStatusColour(StatusColour::Yellow);
    m_status.showStatus();
    m_status.setStatusText(kStartingWrite);

    m_state.error_flag = 0;
    CollectSwitchCodes(m_state, listPositionsOf(m_view));
    m_state.BL = kClosingValue;

    if (!openPort())
        return;
    // Every path from here on ends with the port closed.
    const auto closer = qScopeGuard([this] { m_port.setPortOpen(false); });

    if (m_state.error_flag == 1) {
        fail(kIncomplete);
        return;
    }

    if (!m_protocol.Handshake()) {
        fail(kNoResponse);
        return;
    }

    for (int address = 0; address <= kClosingAddress; ++address) {
        m_waiter.WaitOneTick();
        m_state.address_l = Code(address);
        m_state.data_l = address < kSwitchCount ? m_state.sw[address].w : m_state.BL;
        m_protocol.WriteSwitchCode();
        if (m_state.error_flag == 1) {
            fail(kBadData);
            return;
        }
    }

    m_waiter.WaitOneTick();
    succeed(kProgrammed);
}

} // namespace kdr
