// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QLabel;

namespace kdr {

class DesignationBox;
class SelectionList;

// One switch's controls over the panel picture: its caption ("SW1" …), its module
// and channel lists and its designation box. The window makes them from its
// control table, which places and stacks them; the group is switch n to the rest of
// the window.
class SwitchGroup {
public:
    QLabel *caption = nullptr;
    SelectionList *moduleList = nullptr;
    SelectionList *channelList = nullptr;
    DesignationBox *designation = nullptr;

    // The lists' selection handlers, and what runs when a person edits the switch
    // (chooses an entry or types a designation).
    void connectHandlers(std::function<void()> moduleSelected, std::function<void()> channelSelected,
                         const std::function<void()> &edited) const;

    // Red, and said to a screen reader, where a command stopped; white otherwise.
    void markFailed(bool failed) const;
};

} // namespace kdr
