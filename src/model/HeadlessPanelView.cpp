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
    Switch &sw = m_switches.at(switchIndex);
    sw.module = isModulePosition(position) ? position : -1;
    const ModuleSelectionEffect effect = ModuleSelected(m_state, switchIndex, sw.module);
    if (effect.channelListVisible)
        sw.channelVisible = *effect.channelListVisible;
}

void HeadlessPanelView::selectChannelPosition(int switchIndex, int position)
{
    Switch &sw = m_switches.at(switchIndex);
    sw.channel = isChannelPosition(position) ? position : -1;
    if (ChannelSelected(m_state, switchIndex, sw.channel).showDesignation)
        sw.designationVisible = true;
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

QString HeadlessPanelView::panelNameText() const
{
    return m_panelName;
}

void HeadlessPanelView::setPanelNameText(const QString &text)
{
    m_panelName = text;
}

} // namespace kdr
