#include "SelectionList.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace kdr {

namespace {

constexpr int kScrollBarWidth = 13;
constexpr int kTextIndent = 2;

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
        return QSize(0, option.fontMetrics.height());
    }
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
    setItemDelegate(new EntryDelegate(this));
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
    m_selectingFromCode = true;
    if (position >= 0 && position < count()) {
        selectionModel()->setCurrentIndex(model()->index(position, 0), QItemSelectionModel::ClearAndSelect);
        scrollToItem(item(position));
        m_lastSelected = position;
    } else {
        clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        m_lastSelected = -1;
    }
    m_selectingFromCode = false;
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

void SelectionList::focusInEvent(QFocusEvent *event)
{
    const bool hadCurrent = currentIndex().isValid();
    QListWidget::focusInEvent(event);
    // Qt makes the first row current when a list without one gets the focus; undo
    // that so that no entry looks chosen before the user chooses one.
    if (!hadCurrent && selectedPosition() == -1 && currentIndex().isValid()) {
        m_selectingFromCode = true;
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        m_selectingFromCode = false;
    }
}

} // namespace kdr
