#pragma once

#include "model/SwitchPanelView.h"
#include "model/WorkingState.h"

namespace kdr {

class MSComm1;
class PanelProtocol;
class StatusBox;
class TickWaiter;

// Reading the ten switch codes out of the panel into the lists, and writing the
// lists' codes into the panel, each write verified. Both open the port first and
// close it on every path; both report only through the status box.
//
// The waits keep the window's events running, so a click can arrive while an
// operation runs: busy() tells the window to ignore its command buttons meanwhile.
class PanelOperations {
public:
    static constexpr int kPortNumber = 1;
    static const QString kLineSettings;  // "9600,N,8,1"

    PanelOperations(WorkingState &state, MSComm1 &port, TickWaiter &waiter, PanelProtocol &protocol,
                    SwitchPanelView &view, StatusBox &status);

    void READ_CONFIG_Click();
    void WRITE_CONFIG_Click();

    bool busy() const { return m_busy; }

private:
    bool openPort();
    void fail(const QString &text);
    void succeed(const QString &text);

    WorkingState &m_state;
    MSComm1 &m_port;
    TickWaiter &m_waiter;
    PanelProtocol &m_protocol;
    SwitchPanelView &m_view;
    StatusBox &m_status;
    bool m_busy = false;
};

} // namespace kdr
