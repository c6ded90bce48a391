// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QWidget>

class QPainter;

namespace kdr {

// The pictures of the window, drawn rather than decoded: the panel face that the
// switch groups lie over, and the program's icon. Drawing them costs less at start
// than reading image files would, and they are sharp at any size.

// `Image1`: the panel face, beneath every other control.
class PanelPicture : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *event) override;
};

enum class IconKind {
    Tool,      // a black slanted switch with a white outline, its upper part red
    Simulated, // the same switch in blue with a yellow badge: not the real tool
};

// The icon drawn into a square `box`.
void paintIcon(QPainter &painter, const QRectF &box, IconKind kind);
// The icon at every size a desktop asks for.
QIcon programIcon(IconKind kind);
// The same drawing as scalable vector graphics, for the desktop's icon theme.
QByteArray iconSvg(IconKind kind);

} // namespace kdr
