// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelFace.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kdr {

namespace {

const QColor kFace(96, 94, 93), kRimLight(200, 199, 197), kRimDark(48, 47, 46);

QColor blend(const QColor &from, const QColor &to, double t)
{
    const auto mix = [t](float a, float b) { return float(a + (b - a) * t); };
    return QColor::fromRgbF(mix(from.redF(), to.redF()), mix(from.greenF(), to.greenF()),
                            mix(from.blueF(), to.blueF()));
}

int row(int switchIndex)
{
    return switchIndex / 2;
}

int column(int switchIndex)
{
    return switchIndex % 2;
}

} // namespace

void paintPanelFace(QPainter &painter, const QRect &area)
{
    // Proportions of the panel photograph: a 4-pixel margin and a 20-pixel rim on 575.
    const int margin = std::max(1, int(std::lround(area.width() * 4.0 / 575)));
    const int rim = std::max(1, int(std::lround(area.width() * 20.0 / 575)));
    painter.fillRect(area, Qt::white);
    const QRect face = area.adjusted(margin, margin, -margin, -margin);
    painter.fillRect(face, kFace);
    // Ring by ring from the outside in: the top edge light, the other three dark,
    // the top taking the corners it shares with the sides.
    for (int k = 0; k < rim; ++k) {
        const double t = double(k) / rim;
        const QRect ring = face.adjusted(k, k, -k, -k);
        if (ring.width() <= 0 || ring.height() <= 0)
            break;
        const QColor dark = blend(kRimDark, kFace, t);
        painter.fillRect(QRect(ring.left(), ring.top(), 1, ring.height()), dark);
        painter.fillRect(QRect(ring.right(), ring.top(), 1, ring.height()), dark);
        painter.fillRect(QRect(ring.left(), ring.bottom(), ring.width(), 1), dark);
        painter.fillRect(QRect(ring.left(), ring.top(), ring.width(), 1), blend(kRimLight, kFace, t));
    }
}

QColor panelFaceColour()
{
    return kFace;
}

namespace PanelLayout {

QRect face()
{
    return {3120, 1440, 4695, 7095};
}

QRect caption(int i)
{
    // SW10's caption is wider, for its two digits.
    return {3360 + 3840 * column(i), 2760 + 1080 * row(i), i == 9 ? 525 : 420, 195};
}

QRect moduleList(int i)
{
    return {3840 + 1800 * column(i), 2640 + 1080 * row(i), 855, 645};
}

QRect channelList(int i)
{
    return {4680 + 1800 * column(i), 2640 + 1080 * row(i), 615, 645};
}

QRect designation(int i)
{
    return {3840 + 1800 * column(i), 2400 + 1080 * row(i), 1455, 285};
}

} // namespace PanelLayout

} // namespace kdr
