// SPDX-License-Identifier: GPL-3.0-or-later
#include "CalloutShapes.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace kdr {

namespace {
constexpr int kPenWidth = 2;
}

CalloutLine::CalloutLine(QPoint from, QPoint to, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Horizontal only: the callout needs nothing else.
    setGeometry(QRect(std::min(from.x(), to.x()), from.y() - kPenWidth / 2, std::abs(to.x() - from.x()), kPenWidth));
}

void CalloutLine::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

MarkerShape::MarkerShape(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void MarkerShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(colour(), kPenWidth));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

} // namespace kdr
