#pragma once

#include <QPushButton>

namespace kdr {

// A push button whose caption wraps onto several lines at word boundaries, as the
// long command captions need within the buttons' fixed size.
class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kdr
