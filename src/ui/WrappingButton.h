// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

namespace kdr {

// A push button whose caption wraps onto several lines at word boundaries, as the
// long command captions need within the buttons' fixed size. Return or Enter
// presses it while it has the keyboard focus, as Space does.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace kdr
