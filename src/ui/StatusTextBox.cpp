#include "StatusTextBox.h"

#include <QTextBlockFormat>
#include <QTextCursor>

namespace kdr {

StatusTextBox::StatusTextBox(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAcceptRichText(false);
    setWordWrapMode(QTextOption::WordWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    document()->setDocumentMargin(0);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    applyBackground(StatusColour::Yellow);
}

QColor StatusTextBox::toColor(StatusColour colour)
{
    const int value = int(colour);
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

void StatusTextBox::setStatusText(const QString &text)
{
    // Laying the text out again is most of what an operation's step costs; a step
    // that repeats the text changes nothing the technician could see.
    if (text == m_shownText)
        return;
    m_shownText = text;
    setPlainText(text);
    // The longest texts take three lines at this font; a slightly tighter line
    // keeps all three inside the box without a scroll bar.
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(kLineHeight, QTextBlockFormat::FixedHeight);
    cursor.mergeBlockFormat(format);
}

void StatusTextBox::setStatusColour(StatusColour colour)
{
    if (colour != m_shownColour)
        applyBackground(colour);
}

void StatusTextBox::applyBackground(StatusColour colour)
{
    m_shownColour = colour;
    QPalette p = palette();
    p.setColor(QPalette::Base, toColor(colour));
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
}

QColor StatusTextBox::background() const
{
    return palette().color(QPalette::Base);
}

void StatusTextBox::showStatus()
{
    show();
}

void StatusTextBox::hideStatus()
{
    hide();
}

} // namespace kdr
