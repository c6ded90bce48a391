// SPDX-License-Identifier: GPL-3.0-or-later
#include "SelectionList.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace kdr {

namespace {

constexpr int kScrollBarWidth = 13;
constexpr int kTextIndent = 2;
constexpr int kVisibleRows = 3;
constexpr int kSmallestThumb = 5;

// The lists' scroll bars are as short as three entries: the style's smallest thumb
// would not fit between the arrows and would not be drawn at all.
class ShortScrollBarStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_ScrollBarSliderMin)
            return kSmallestThumb;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle *shortScrollBarStyle()
{
    static ShortScrollBarStyle *style = [] {
        auto *made = new ShortScrollBarStyle;
        made->setParent(qApp); // lives as long as the application's widgets
        return made;
    }();
    return style;
}

// One line of text per entry, highlighted when selected. The style's own item
// drawing lays every entry out as rich text, which is most of what painting
// twenty lists costs when the window first appears.
class EntryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
        painter->setPen(option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(option.rect.adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(0, m_rowHeight > 0 ? m_rowHeight : option.fontMetrics.height());
    }

    void setRowHeight(int height) { m_rowHeight = height; }

private:
    int m_rowHeight = 0;
};

} // namespace

SelectionList::SelectionList(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setUniformItemSizes(true);
    setDragEnabled(false);
    setFocusPolicy(Qt::StrongFocus);
    // The lists are narrow: a slimmer scroll bar keeps "BL/MR" whole beside it.
    setTextElideMode(Qt::ElideNone);
    verticalScrollBar()->setFixedWidth(kScrollBarWidth);
    verticalScrollBar()->setStyle(shortScrollBarStyle());
    setItemDelegate(new EntryDelegate(this));
    // What lies beside the scroll bar inside the frame is the list's own, not the picture's.
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    // Every list shows its choice whether or not it has the focus (Windows would
    // mark it in an unfocused list in a grey hardly set off from the white).
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);
    setAutoFillBackground(true);
    connect(this, &QListWidget::itemSelectionChanged, this, &SelectionList::onSelectionChanged);
}

void SelectionList::setSelectionHandler(std::function<void()> handler)
{
    m_handler = std::move(handler);
}

int SelectionList::selectedPosition() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void SelectionList::setSelectedPosition(int position)
{
    selectQuietly(position);
    notify();
}

int SelectionList::itemValue(int position) const
{
    const QListWidgetItem *entry = item(position);
    return entry ? entry->data(Qt::UserRole).toInt() : 0;
}

void SelectionList::addEntry(const QString &text, int itemValue)
{
    auto *entry = new QListWidgetItem(text, this);
    entry->setData(Qt::UserRole, itemValue);
}

void SelectionList::selectQuietly(int position)
{
    const QScopedValueRollback quiet(m_selectingFromCode, true);
    if (position >= 0 && position < count()) {
        selectionModel()->setCurrentIndex(model()->index(position, 0), QItemSelectionModel::ClearAndSelect);
        scrollToItem(item(position));
        m_lastSelected = position;
    } else {
        clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        m_lastSelected = -1;
    }
}

void SelectionList::notify()
{
    if (m_handler)
        m_handler();
}

void SelectionList::onSelectionChanged()
{
    if (m_selectingFromCode)
        return;
    const int now = selectedPosition();
    if (now == m_lastSelected)
        return;
    if (now == -1) {
        // Only a toggle (Ctrl+Space, Ctrl+click) can empty a list; a switch must not
        // lose its assignment that way.
        selectQuietly(m_lastSelected);
        return;
    }
    m_lastSelected = now;
    notify();
    emit chosenByUser();
}

void SelectionList::mousePressEvent(QMouseEvent *event)
{
    // Every press on an entry is a selection, whatever the modifiers, and the
    // handler runs even when that entry was already selected.
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;
    setSelectedPosition(index.row());
    emit chosenByUser();
}

void SelectionList::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
}

void SelectionList::mouseMoveEvent(QMouseEvent *event)
{
    // Dragging over other entries must not move the selection behind the handler's back.
    event->accept();
}

void SelectionList::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void SelectionList::fitThreeRows()
{
    // Rows of a third of the inside each; the pixels a third leaves over go below
    // the rows, so that no part of a fourth entry shows.
    const int inside = height() - 2 * frameWidth();
    const int rowHeight = std::max(1, inside / kVisibleRows);
    if (rowHeight == m_rowHeight)
        return;
    m_rowHeight = rowHeight;
    setViewportMargins(0, 0, 0, inside - kVisibleRows * rowHeight);
    static_cast<EntryDelegate *>(itemDelegate())->setRowHeight(rowHeight);
    doItemsLayout();
}

void SelectionList::resizeEvent(QResizeEvent *event)
{
    fitThreeRows();
    QListWidget::resizeEvent(event);
}

void SelectionList::paintEvent(QPaintEvent *event)
{
    QListWidget::paintEvent(event);
    if (!hasFocus())
        return;
    // The entries themselves carry no current-item mark (none is current until one
    // is chosen): mark the list instead.
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    painter.drawRect(viewport()->rect().adjusted(0, 0, -1, -1));
}

void SelectionList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // The list view tells assistive tools that the new current entry has the focus,
    // whether or not the list has it: a read that sets twenty lists would pull a
    // screen reader through all of them, away from the button that has the focus.
    if (hasFocus())
        QListWidget::currentChanged(current, previous);
    else
        QAbstractItemView::currentChanged(current, previous); // NOLINT(bugprone-parent-virtual-call): on purpose
}

void SelectionList::focusOutEvent(QFocusEvent *event)
{
    QListWidget::focusOutEvent(event);
    viewport()->update();
}

void SelectionList::focusInEvent(QFocusEvent *event)
{
    const bool hadCurrent = currentIndex().isValid();
    QListWidget::focusInEvent(event);
    // Qt makes the first row current when a list without one gets the focus; undo
    // that so that no entry looks chosen before the user chooses one.
    if (!hadCurrent && selectedPosition() == -1 && currentIndex().isValid()) {
        const QScopedValueRollback quiet(m_selectingFromCode, true);
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    viewport()->update();
}

} // namespace kdr
