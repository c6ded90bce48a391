// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

namespace kdr {

// The straight line of the header callout, drawn 2 pixels wide between two points
// given in client coordinates.
class CalloutLine : public QWidget {
    Q_OBJECT
public:
    CalloutLine(QPoint from, QPoint to, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The marker of the programming header: an outline only, so that the switch
// caption inside it stays readable.
class MarkerShape : public QWidget {
    Q_OBJECT
public:
    explicit MarkerShape(QWidget *parent = nullptr);
    static QColor colour() { return QColor(128, 255, 255); }

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kdr
