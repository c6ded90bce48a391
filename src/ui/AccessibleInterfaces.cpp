// SPDX-License-Identifier: GPL-3.0-or-later
#include "AccessibleInterfaces.h"

#include "MainWindow.h"
#include "PortChooser.h"
#include "StatusTextBox.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace kdr {

namespace {

class StatusBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit StatusBoxAccessible(StatusTextBox *box) : QAccessibleWidget(box, QAccessible::StatusBar) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return shown();
        return QAccessibleWidget::text(t);
    }

    // Text: the plain text the box shows. It can be selected, not edited.
    void selection(int index, int *start, int *end) const override
    {
        const QTextCursor cursor = box()->textCursor();
        *start = *end = 0;
        if (index == 0 && cursor.hasSelection()) {
            *start = cursor.selectionStart();
            *end = cursor.selectionEnd();
        }
    }
    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.clearSelection();
        box()->setTextCursor(cursor);
    }
    void setSelection(int, int start, int end) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(clamped(start));
        cursor.setPosition(clamped(end), QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }
    int cursorPosition() const override { return box()->textCursor().position(); }
    void setCursorPosition(int position) override
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(clamped(position));
        box()->setTextCursor(cursor);
    }
    QString text(int start, int end) const override
    {
        start = clamped(start);
        return shown().mid(start, clamped(end) - start);
    }
    int characterCount() const override { return int(shown().size()); }
    QRect characterRect(int offset) const override
    {
        QTextCursor cursor(box()->document());
        cursor.setPosition(clamped(offset));
        QRect r = box()->cursorRect(cursor);
        r.setWidth(box()->fontMetrics().horizontalAdvance(shown().mid(clamped(offset), 1)));
        return QRect(box()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint inside = box()->viewport()->mapFromGlobal(point);
        if (!box()->viewport()->rect().contains(inside))
            return -1;
        return box()->cursorForPosition(inside).position();
    }
    void scrollToSubstring(int, int) override {} // every text fits the box
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        if (offset < 0 || offset > characterCount())
            *start = *end = -1;
        return QString();
    }

private:
    StatusTextBox *box() const { return static_cast<StatusTextBox *>(widget()); }
    QString shown() const { return box()->toPlainText(); }
    int clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
};

// An editable combo box, as Qt presents one, but named by its accessible name.
class PortChooserAccessible : public QAccessibleWidget {
public:
    explicit PortChooserAccessible(PortChooser *chooser) : QAccessibleWidget(chooser, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return chooser()->currentText();
        return QAccessibleWidget::text(t);
    }

    // Its children: the list it opens, and the text typed into it.
    int childCount() const override { return 2; }
    QAccessibleInterface *child(int index) const override
    {
        switch (index) {
        case 0:
            return QAccessible::queryAccessibleInterface(chooser()->view());
        case 1:
            return QAccessible::queryAccessibleInterface(chooser()->lineEdit());
        default:
            return nullptr;
        }
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == chooser()->view())
            return 0;
        if (child->object() == chooser()->lineEdit())
            return 1;
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QLineEdit *edit = chooser()->lineEdit();
        return QRect(edit->mapToGlobal(QPoint(0, 0)), edit->size()).contains(x, y) ? child(1) : nullptr;
    }
    // The chooser is its text box's focus proxy: the text box is what has the focus.
    QAccessibleInterface *focusChild() const override { return child(1); }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (chooser()->view()->isVisible())
            chooser()->hidePopup();
        else
            chooser()->showPopup();
    }

private:
    PortChooser *chooser() const { return static_cast<PortChooser *>(widget()); }
};

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String(MainWindow::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    if (className == QLatin1String(StatusTextBox::staticMetaObject.className()))
        return new StatusBoxAccessible(static_cast<StatusTextBox *>(object));
    if (className == QLatin1String(PortChooser::staticMetaObject.className()))
        return new PortChooserAccessible(static_cast<PortChooser *>(object));
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    (void)installed;
}

} // namespace kdr
