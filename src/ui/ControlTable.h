// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>

#include <vector>

namespace kdr {

// Everything the window shows, as data: names, kinds, places, texts, tool tips,
// fonts and focus order. Positions are in twips (15 per pixel) from the top left
// corner of the client area.

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidthTwips = 11040;
constexpr int kClientHeightTwips = 8910;

constexpr QRect twipsToPixels(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

enum class ControlKind {
    Picture, // stretched panel picture, lowest layer
    Caption, // switch caption over the picture
    Title,   // the program's name, centred, in blue
    Heading, // a centred heading with a background of its own
    Label,
    Line,
    Shape,
    ModuleList,
    ChannelList,
    DesignationBox,
    NameBox,
    StatusBox,
    Button,
    PortChooser,
};

enum class FontRole {
    WindowDefault, // "MS Sans Serif" 8.25 pt bold
    SansNormal,    // "MS Sans Serif" 8.25 pt
    Title,         // "Arial" 14.25 pt bold underlined
    ButtonText,    // "Arial" 9.75 pt bold
    StatusText,    // "Arial" 8.25 pt
};

constexpr int kNoTab = -1;

// What a command button starts.
enum class Command {
    None,
    ReadPanel,
    WritePanel,
    OpenFile,
    SaveFile,
};

struct ControlSpec {
    QString name;
    ControlKind kind;
    int left, top, width, height; // twips
    QString text;                 // caption or initial text
    QString toolTip;
    FontRole font;
    int tab;              // place in the focus order, kNoTab for none
    int switchIndex = -1; // 0 … 9 for members of a switch group
    Command command = Command::None;
    QString labels{}; // the control a caption names, for assistive tools (its name)

    QRect pixelRect() const { return twipsToPixels(left, top, width, height); }
};

// Every control in drawing order: the first is drawn lowest.
const std::vector<ControlSpec> &controlTable();

} // namespace kdr
