// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeadlessPanelView.h"

namespace kdr {

HeadlessPanelView::HeadlessPanelView(WorkingState &state) : m_state(state) {}

int HeadlessPanelView::modulePosition(int switchIndex) const
{
    return m_switches.at(switchIndex).module;
}

int HeadlessPanelView::channelPosition(int switchIndex) const
{
    return m_switches.at(switchIndex).channel;
}

void HeadlessPanelView::selectModulePosition(int switchIndex, int position)
{
    m_switches.at(switchIndex).module = isModulePosition(position) ? position : -1;
    moduleListSelected(m_state, *this, switchIndex);
}

void HeadlessPanelView::selectChannelPosition(int switchIndex, int position)
{
    m_switches.at(switchIndex).channel = isChannelPosition(position) ? position : -1;
    channelListSelected(m_state, *this, switchIndex);
}

QString HeadlessPanelView::designationText(int switchIndex) const
{
    return m_switches.at(switchIndex).designation;
}

void HeadlessPanelView::setDesignationText(int switchIndex, const QString &text)
{
    m_switches.at(switchIndex).designation = text;
}

void HeadlessPanelView::setDesignationVisible(int switchIndex, bool visible)
{
    m_switches.at(switchIndex).designationVisible = visible;
}

void HeadlessPanelView::setChannelListVisible(int switchIndex, bool visible)
{
    m_switches.at(switchIndex).channelVisible = visible;
}

QString HeadlessPanelView::panelNameText() const
{
    return m_panelName;
}

void HeadlessPanelView::setPanelNameText(const QString &text)
{
    m_panelName = text;
}

} // namespace kdr
