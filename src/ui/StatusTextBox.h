// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/StatusBox.h"

#include <QTextEdit>

#include <functional>

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
    int linesShown() const;
    void setPixelSize(int pixels);

    static constexpr int kLineHeight = 12;
    static constexpr int kLines = 3;
    static constexpr int kSmallestPixelSize = 9;
    int m_basePixelSize = 0; // the box's own font size, before any fitting
    QString m_shownText;
    StatusColour m_shownColour = StatusColour::Yellow;
};

// The status box as the operations see it, made only when an operation first
// reports: the box is hidden until then, and a text box that is never shown is
// memory a window that is only looked at need not spend.
class StatusBoxOnDemand : public StatusBox {
public:
    explicit StatusBoxOnDemand(std::function<StatusTextBox *()> make) : m_make(std::move(make)) {}

    void setStatusText(const QString &text) override { box().setStatusText(text); }
    void setStatusColour(StatusColour colour) override { box().setStatusColour(colour); }
    void showStatus() override { box().showStatus(); }
    void hideStatus() override
    {
        if (m_box)
            m_box->hideStatus();
    }

    StatusTextBox &box()
    {
        if (!m_box)
            m_box = m_make();
        return *m_box;
    }

private:
    std::function<StatusTextBox *()> m_make;
    StatusTextBox *m_box = nullptr;
};

} // namespace kdr
