// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AnsweringPanel.h"

#include "link/InProcessLine.h"

namespace kdr::sim {

// A simulated panel at the far end of an in-process line, running in the caller's
// event loop: give line() to a PanelPort and talk to it as to a panel. Works where
// there are no pseudo-terminals. A hang-up leaves the line silent.
class InProcessPanel : public AnsweringPanel {
    Q_OBJECT
public:
    explicit InProcessPanel(PanelFaults faults = {}, QObject *parent = nullptr);

    InProcessLine *line() { return &m_line; }

    bool isPluggedIn() const override { return m_pluggedIn; }
    void hangUp() override;

protected:
    bool write(const QByteArray &bytes) override;

private:
    InProcessLine m_line{this};
    bool m_pluggedIn = true;
};

} // namespace kdr::sim
