// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

#include <functional>

namespace kdr {

// A list box whose selection handler runs on every selection: a mouse click
// (also on the entry already selected), keyboard navigation that changes the
// selection, and every position set from code (also the one it already has),
// always before the setter returns. It never selects anything by itself: taking
// the keyboard focus selects nothing, and neither Ctrl+click nor Ctrl+Space can
// take a selection away.
//
// Setting a position from code moves no accessible focus: a screen reader hears of
// an entry only in the list the keyboard is in.
//
// It shows exactly three entries, whatever the font, draws a focus mark around its
// entries while it has the keyboard focus, and its scroll bar always shows a thumb.
class SelectionList : public QListWidget {
    Q_OBJECT
public:
    explicit SelectionList(QWidget *parent = nullptr);

    void setSelectionHandler(std::function<void()> handler);

    // −1 while nothing is selected.
    int selectedPosition() const;
    // A position that is no entry clears the selection; the handler runs either way.
    void setSelectedPosition(int position);

    int itemValue(int position) const;
    void addEntry(const QString &text, int itemValue);

signals:
    // A person chose an entry (by mouse or keyboard), as opposed to a position set from code.
    void chosenByUser();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void onSelectionChanged();
    void selectQuietly(int position);
    void notify();
    void fitThreeRows();

    std::function<void()> m_handler;
    int m_lastSelected = -1;
    bool m_selectingFromCode = false;
    int m_rowHeight = 0;
};

} // namespace kdr
