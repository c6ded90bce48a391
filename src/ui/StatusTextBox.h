// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/StatusBox.h"

#include <QTextEdit>

namespace kdr {

// The status box `Text1`: a read-only, word-wrapping text box whose background
// tells the outcome of the last operation. Each new text reaches assistive tools
// as one change.
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
    void keepDocumentChangesQuiet();
    int linesShown() const;
    void setPixelSize(int pixels);

    static constexpr int kLineHeight = 12;
    static constexpr int kLines = 3;
    static constexpr int kSmallestPixelSize = 9;
    int m_basePixelSize = 0; // the box's own font size, before any fitting
    QString m_shownText;
    StatusColour m_shownColour = StatusColour::Yellow;
};

} // namespace kdr
