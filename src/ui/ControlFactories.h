// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ControlTable.h"
#include "SwitchGroup.h"

#include "model/SwitchCodes.h"

#include <array>
#include <map>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kdr {

class PortChooser;
class StatusTextBox;

// What the window's code works with, filled in by the factories as they make the
// controls of the table.
struct WindowControls {
    std::array<SwitchGroup, kSwitchCount> switches{};
    QLineEdit *panelName = nullptr;
    PortChooser *portChooser = nullptr;
    StatusTextBox *statusBox = nullptr;
    std::map<Command, QPushButton *> commandButtons;
    std::vector<std::pair<QLabel *, QString>> namingCaptions; // a caption and the name of what it names
};

// How a control's tool tip serves assistive tools.
enum class ToolTipUse {
    NameAndToolTip,   // the tool tip names the control and is shown as a tool tip
    DescribesCaption, // a button: named by its caption, described by its tool tip
    MadeWithIt,       // a designation box: its factory gives it its own kind (DesignationBox)
};

// Everything the window does differently for a kind of control.
struct ControlKindTraits {
    // Makes the control (unplaced, unstyled) and records it in `made`.
    QWidget *(*make)(const ControlSpec &entry, QWidget *parent, WindowControls &made);
    // Made once the list of fonts is loaded: it lays out text in a font as it is made.
    bool laysOutTextWhenMade = false;
    // Places itself from its own end points rather than the table's rectangle.
    bool placesItself = false;
    // Its height follows its wrapped text at its width.
    bool heightFollowsText = false;
    ToolTipUse toolTip = ToolTipUse::NameAndToolTip;
};

const ControlKindTraits &traitsOf(ControlKind kind);

} // namespace kdr
