// SPDX-License-Identifier: GPL-3.0-or-later
#include "InProcessPanel.h"

namespace kdr::sim {

InProcessPanel::InProcessPanel(PanelFaults faults, QObject *parent) : AnsweringPanel(std::move(faults), parent)
{
    connect(&m_line, &InProcessLine::transmitted, this, [this](const QByteArray &bytes) {
        if (m_pluggedIn)
            receive(bytes);
    });
}

void InProcessPanel::hangUp()
{
    if (!m_pluggedIn)
        return;
    m_pluggedIn = false;
    emit hungUp();
}

bool InProcessPanel::write(const QByteArray &bytes)
{
    if (!m_pluggedIn)
        return false;
    m_line.answer(bytes);
    return true;
}

} // namespace kdr::sim
