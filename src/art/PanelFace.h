// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>

class QPainter;

namespace kdr {

// The panel's face as the window shows it and a configuration sheet prints it, and
// where on it each switch lies.

// A flat dark grey face inside a shaded rim (light along the top edge, darker along
// the others) on a thin white margin, filling `area` (in the device's pixels).
void paintPanelFace(QPainter &painter, const QRect &area);
// The face's own grey, by which a picture of it can be found.
QColor panelFaceColour();

// Places in the window's client area, in twips (1440 an inch, 15 a pixel at 100 %),
// of the face and of each switch's parts (switch 0 … 9: SW1 … SW10, two to a row).
namespace PanelLayout {
QRect face();
QRect caption(int switchIndex);
QRect moduleList(int switchIndex);
QRect channelList(int switchIndex);
QRect designation(int switchIndex);
} // namespace PanelLayout

} // namespace kdr
