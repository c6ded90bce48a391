// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlTable.h"

#include "model/SwitchCodes.h"
#include "model/SwitchPanelView.h"

#include <algorithm>
#include <array>

namespace kdr {

namespace {

struct SwitchGroupRow {
    const char *captionName;
    int moduleTab, channelTab, designationTab;
};

// The captions' names and the focus order were laid out by hand long ago; both are
// kept because technicians' keyboard habits depend on the order.
// clang-format off
constexpr std::array<SwitchGroupRow, kSwitchCount> kSwitchGroups{{
    {"Label2", 16, 6, 39},  {"Label3", 21, 7, 40},   {"Label4", 20, 12, 41},
    {"Label5", 19, 8, 42},  {"Label8", 18, 9, 43},   {"Label9", 17, 10, 44},
    {"Label10", 22, 11, 45}, {"Label11", 25, 13, 46}, {"Label12", 24, 14, 47},
    {"Label13", 23, 15, 48},
}};
// clang-format on

std::vector<ControlSpec> buildTable()
{
    using K = ControlKind;
    using F = FontRole;
    std::vector<ControlSpec> table{
        {"Image1", K::Picture, 3120, 1440, 4695, 7095, {}, {}, F::WindowDefault, kNoTab},
    };

    for (int i = 0; i < kSwitchCount; ++i) {
        const int n = i + 1, row = i / 2, column = i % 2;
        const QString sw = QStringLiteral("SW%1").arg(n);
        const int captionWidth = n == 10 ? 525 : 420;
        table.push_back({kSwitchGroups[i].captionName,
                         K::Caption,
                         3360 + 3840 * column,
                         2760 + 1080 * row,
                         captionWidth,
                         195,
                         sw,
                         {},
                         F::WindowDefault,
                         kNoTab,
                         i});
    }

    table.push_back({"Label14",
                     K::Label,
                     720,
                     6960,
                     1455,
                     615,
                     "PROGRAMMING       HEADER           LOCATION",
                     {},
                     F::WindowDefault,
                     kNoTab});
    table.push_back({"Line1", K::Line, 2160, 7200, 3240 - 2160, 0, {}, {}, F::WindowDefault, kNoTab});
    table.push_back({"Shape1", K::Shape, 3240, 6720, 615, 975, {}, {}, F::WindowDefault, kNoTab});
    table.push_back({"Label1",
                     K::Title,
                     2760,
                     240,
                     5535,
                     660,
                     "RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM",
                     {},
                     F::Title,
                     kNoTab});
    table.push_back(
        {"Label6", K::Heading, 4800, 7800, 1455, 255, "PANEL NAME", {}, F::SansNormal, kNoTab, -1, {}, "Text2"});

    // Lists before designation boxes: a box overlaps the top of its lists and is drawn over them.
    for (int i = 0; i < kSwitchCount; ++i) {
        const int n = i + 1, row = i / 2, column = i % 2;
        const QString sw = QStringLiteral("SW%1").arg(n);
        table.push_back({QStringLiteral("List%1").arg(2 * n - 1),
                         K::ModuleList,
                         3840 + 1800 * column,
                         2640 + 1080 * row,
                         855,
                         645,
                         {},
                         sw + " MODULE ASSIGNMENT",
                         F::SansNormal,
                         kSwitchGroups[i].moduleTab,
                         i});
        table.push_back({QStringLiteral("List%1").arg(2 * n),
                         K::ChannelList,
                         4680 + 1800 * column,
                         2640 + 1080 * row,
                         615,
                         645,
                         {},
                         sw + " CHANNEL ASSIGNMENT",
                         F::SansNormal,
                         kSwitchGroups[i].channelTab,
                         i});
    }
    for (int i = 0; i < kSwitchCount; ++i) {
        const int n = i + 1, row = i / 2, column = i % 2;
        table.push_back({QStringLiteral("Text%1").arg(n + 2), K::DesignationBox, 3840 + 1800 * column,
                         2400 + 1080 * row, 1455, 285, kInitialDesignation,
                         QStringLiteral("ENTER SW%1 FUNCTION").arg(n), F::WindowDefault,
                         kSwitchGroups[i].designationTab, i});
    }

    table.push_back(
        {"Text2", K::NameBox, 4800, 8040, 1455, 285, {}, "ENTER IDENTITY FOR FILE NAME", F::SansNormal, 27});
    // The serial port chooser, in the free space of the left column.
    table.push_back(
        {"Label15", K::Heading, 240, 4320, 2415, 255, "SERIAL PORT", {}, F::SansNormal, kNoTab, -1, {}, "SERIAL_PORT"});
    table.push_back({"SERIAL_PORT",
                     K::PortChooser,
                     240,
                     4575,
                     2415,
                     330,
                     {},
                     "SERIAL PORT CONNECTED TO THE SWITCH PANEL",
                     F::SansNormal,
                     28});
    table.push_back({"Text1", K::StatusBox, 3840, 1680, 3255, 615, {}, {}, F::StatusText, 26});
    table.push_back({"READ_CONFIG", K::Button, 8280, 1680, 2535, 855, "READ CONFIGURATION FROM SWITCH PANEL",
                     "LEFT CLICK TO READ CONFIG IN SWITCH PANEL", F::ButtonText, 0, -1, Command::ReadPanel});
    table.push_back({"WRITE_CONFIG", K::Button, 8280, 3120, 2535, 855, "WRITE CONFIGURATION TO SWITCH PANEL",
                     "LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL", F::ButtonText, 2, -1, Command::WritePanel});
    table.push_back({"READ_FILE", K::Button, 240, 1680, 2415, 855, "OPEN CONFIGURATION FILE",
                     "LEFT CLICK TO OPEN CONFIG FILE", F::ButtonText, 4, -1, Command::OpenFile});
    table.push_back({"WRITE_FILE", K::Button, 240, 3000, 2415, 855, "SAVE CONFIGURATION FILE",
                     "LEFT CLICK TO SAVE CONFIG FILE", F::ButtonText, 5, -1, Command::SaveFile});
    return table;
}

} // namespace

const std::vector<ControlSpec> &controlTable()
{
    static const std::vector<ControlSpec> table = buildTable();
    return table;
}

} // namespace kdr
