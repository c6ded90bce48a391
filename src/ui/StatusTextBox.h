#pragma once

#include "model/StatusBox.h"

#include <QTextEdit>

namespace kdr {

// The status box `Text1`: a read-only, word-wrapping text box whose background
// tells the outcome of the last operation.
class StatusTextBox : public QTextEdit, public StatusBox {
    Q_OBJECT
public:
    explicit StatusTextBox(QWidget *parent = nullptr);

    void setStatusText(const QString &text) override;
    void setStatusColour(StatusColour colour) override;
    void showStatus() override;
    void hideStatus() override;

    QColor background() const;
    static QColor toColor(StatusColour colour);

private:
    void applyBackground(StatusColour colour);

    static constexpr int kLineHeight = 12;
};

} // namespace kdr
