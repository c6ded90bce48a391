// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlTable.h"

#include "art/PanelFace.h"

#include "model/SwitchCodes.h"
#include "model/SwitchPanelView.h"

#include <algorithm>
#include <array>

namespace kdr {

using namespace Qt::StringLiterals;

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
    const QRect face = PanelLayout::face();
    std::vector<ControlSpec> table{
        {u"Image1"_s, K::Picture, face.x(), face.y(), face.width(), face.height(), {}, {}, F::WindowDefault, kNoTab},
    };

    for (int i = 0; i < kSwitchCount; ++i) {
        const QString sw = QStringLiteral("SW%1").arg(i + 1);
        const QRect caption = PanelLayout::caption(i);
        table.push_back({QString::fromLatin1(kSwitchGroups[i].captionName),
                         K::Caption,
                         caption.x(),
                         caption.y(),
                         caption.width(),
                         caption.height(),
                         sw,
                         {},
                         F::WindowDefault,
                         kNoTab,
                         i});
    }

    table.push_back({u"Label14"_s,
                     K::Label,
                     720,
                     6960,
                     1455,
                     615,
                     u"PROGRAMMING       HEADER           LOCATION"_s,
                     {},
                     F::WindowDefault,
                     kNoTab});
    table.push_back({u"Line1"_s, K::Line, 2160, 7200, 3240 - 2160, 0, {}, {}, F::WindowDefault, kNoTab});
    table.push_back({u"Shape1"_s, K::Shape, 3240, 6720, 615, 975, {}, {}, F::WindowDefault, kNoTab});
    table.push_back({u"Label1"_s,
                     K::Title,
                     2760,
                     240,
                     5535,
                     660,
                     u"RV KDR 10 BUTTON SWITCH PANEL CONFIGURATION PROGRAM"_s,
                     {},
                     F::Title,
                     kNoTab});
    table.push_back({u"Label6"_s,
                     K::Heading,
                     4800,
                     7800,
                     1455,
                     255,
                     u"PANEL NAME"_s,
                     {},
                     F::SansNormal,
                     kNoTab,
                     -1,
                     {},
                     u"Text2"_s});

    // Lists before designation boxes: a box overlaps the top of its lists and is drawn over them.
    for (int i = 0; i < kSwitchCount; ++i) {
        const int n = i + 1;
        const QString sw = QStringLiteral("SW%1").arg(n);
        const QRect module = PanelLayout::moduleList(i), channel = PanelLayout::channelList(i);
        table.push_back({QStringLiteral("List%1").arg(2 * n - 1),
                         K::ModuleList,
                         module.x(),
                         module.y(),
                         module.width(),
                         module.height(),
                         {},
                         sw + u" MODULE ASSIGNMENT"_s,
                         F::SansNormal,
                         kSwitchGroups[i].moduleTab,
                         i});
        table.push_back({QStringLiteral("List%1").arg(2 * n),
                         K::ChannelList,
                         channel.x(),
                         channel.y(),
                         channel.width(),
                         channel.height(),
                         {},
                         sw + u" CHANNEL ASSIGNMENT"_s,
                         F::SansNormal,
                         kSwitchGroups[i].channelTab,
                         i});
    }
    for (int i = 0; i < kSwitchCount; ++i) {
        const int n = i + 1;
        const QRect box = PanelLayout::designation(i);
        table.push_back({QStringLiteral("Text%1").arg(n + 2), K::DesignationBox, box.x(), box.y(), box.width(),
                         box.height(), kInitialDesignation, QStringLiteral("ENTER SW%1 FUNCTION").arg(n),
                         F::WindowDefault, kSwitchGroups[i].designationTab, i});
    }

    table.push_back(
        {u"Text2"_s, K::NameBox, 4800, 8040, 1455, 285, {}, u"ENTER IDENTITY FOR FILE NAME"_s, F::SansNormal, 27});
    // The serial port chooser, in the free space of the left column.
    table.push_back({u"Label15"_s,
                     K::Heading,
                     240,
                     4320,
                     2415,
                     255,
                     u"SERIAL PORT"_s,
                     {},
                     F::SansNormal,
                     kNoTab,
                     -1,
                     {},
                     u"SERIAL_PORT"_s});
    table.push_back({u"SERIAL_PORT"_s,
                     K::PortChooser,
                     240,
                     4575,
                     2415,
                     330,
                     {},
                     u"SERIAL PORT CONNECTED TO THE SWITCH PANEL"_s,
                     F::SansNormal,
                     28});
    table.push_back({u"Text1"_s, K::StatusBox, 3840, 1680, 3255, 615, {}, {}, F::StatusText, 26});
    table.push_back({u"READ_CONFIG"_s, K::Button, 8280, 1680, 2535, 855, u"READ CONFIGURATION FROM SWITCH PANEL"_s,
                     u"LEFT CLICK TO READ CONFIG IN SWITCH PANEL"_s, F::ButtonText, 0, -1, Command::ReadPanel});
    table.push_back({u"WRITE_CONFIG"_s, K::Button, 8280, 3120, 2535, 855, u"WRITE CONFIGURATION TO SWITCH PANEL"_s,
                     u"LEFT CLICK TO SAVE CONFIG IN SWITCH PANEL"_s, F::ButtonText, 2, -1, Command::WritePanel});
    table.push_back({u"READ_FILE"_s, K::Button, 240, 1680, 2415, 855, u"OPEN CONFIGURATION FILE"_s,
                     u"LEFT CLICK TO OPEN CONFIG FILE"_s, F::ButtonText, 4, -1, Command::OpenFile});
    table.push_back({u"WRITE_FILE"_s, K::Button, 240, 3000, 2415, 855, u"SAVE CONFIGURATION FILE"_s,
                     u"LEFT CLICK TO SAVE CONFIG FILE"_s, F::ButtonText, 5, -1, Command::SaveFile});
    return table;
}

} // namespace

const std::vector<ControlSpec> &controlTable()
{
    static const std::vector<ControlSpec> table = buildTable();
    return table;
}

} // namespace kdr
