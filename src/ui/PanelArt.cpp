// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelArt.h"

#include "art/PanelFace.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace kdr {

namespace {

// The icon's drawing on a 40-unit square: a switch body turned 20 degrees
// anticlockwise about the centre.
constexpr double kIconUnits = 40;
constexpr double kTurnDegrees = -20;
const QRectF kBody(-9, -16, 18, 32);
constexpr double kUpperShare = 0.45;
constexpr double kOutline = 2;

struct IconColours {
    QColor upper;
    bool badge;
};

IconColours coloursOf(IconKind kind)
{
    return kind == IconKind::Tool ? IconColours{QColor(192, 18, 35), false} : IconColours{QColor(40, 110, 210), true};
}

const QRectF kBadge(24, 24, 15, 15);
const QColor kBadgeColour(255, 214, 0);

class DrawnIconEngine : public QIconEngine {
public:
    explicit DrawnIconEngine(IconKind kind) : m_kind(kind) {}
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        paintIcon(*painter, rect, m_kind);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(), size), mode, state);
        return pixmap;
    }
    QIconEngine *clone() const override { return new DrawnIconEngine(m_kind); }

private:
    IconKind m_kind;
};

} // namespace

void PanelPicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintPanelFace(painter, rect());
}

void paintIcon(QPainter &painter, const QRectF &box, IconKind kind)
{
    const IconColours colours = coloursOf(kind);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(box.topLeft());
    painter.scale(box.width() / kIconUnits, box.height() / kIconUnits);
    if (colours.badge) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBadgeColour);
        painter.drawEllipse(kBadge);
    }
    painter.translate(kIconUnits / 2, kIconUnits / 2);
    painter.rotate(kTurnDegrees);
    QPainterPath outline;
    outline.addRect(kBody);
    painter.fillPath(outline, Qt::black);
    painter.fillRect(QRectF(kBody.left(), kBody.top(), kBody.width(), kBody.height() * kUpperShare), colours.upper);
    painter.setPen(QPen(Qt::white, kOutline));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
    painter.restore();
}

QIcon programIcon(IconKind kind)
{
    return QIcon(new DrawnIconEngine(kind));
}

QByteArray iconSvg(IconKind kind)
{
    const IconColours colours = coloursOf(kind);
    const QString upper = colours.upper.name();
    QString svg = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                                 "viewBox=\"0 0 %1 %1\">\n")
                      .arg(kIconUnits);
    if (colours.badge)
        svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                   .arg(kBadge.center().x())
                   .arg(kBadge.center().y())
                   .arg(kBadge.width() / 2)
                   .arg(kBadgeColour.name());
    svg += QStringLiteral("  <g transform=\"translate(%1 %1) rotate(%2)\">\n").arg(kIconUnits / 2).arg(kTurnDegrees);
    const QString rect = QStringLiteral("    <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" %5/>\n");
    svg += rect.arg(kBody.left())
               .arg(kBody.top())
               .arg(kBody.width())
               .arg(kBody.height())
               .arg(QStringLiteral("fill=\"#000000\""));
    svg += rect.arg(kBody.left())
               .arg(kBody.top())
               .arg(kBody.width())
               .arg(kBody.height() * kUpperShare)
               .arg(QStringLiteral("fill=\"%1\"").arg(upper));
    svg += rect.arg(kBody.left())
               .arg(kBody.top())
               .arg(kBody.width())
               .arg(kBody.height())
               .arg(QStringLiteral("fill=\"none\" stroke=\"#ffffff\" stroke-width=\"%1\"").arg(kOutline));
    svg += QStringLiteral("  </g>\n</svg>\n");
    return svg.toUtf8();
}

} // namespace kdr
