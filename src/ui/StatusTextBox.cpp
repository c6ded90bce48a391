// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusTextBox.h"

#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextBlock>
#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QTextDocument>
#include <QTextLayout>

#include <utility>

namespace kdr {

StatusTextBox::StatusTextBox(QWidget *parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAcceptRichText(false);
    setWordWrapMode(QTextOption::WordWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every text is fitted to the box (see setStatusText): a scroll bar would only
    // narrow the box and push the last words out of sight.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    document()->setDocumentMargin(0);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setAccessibleName(QStringLiteral("STATUS"));
    applyBackground(StatusColour::Yellow);
    keepDocumentChangesQuiet();
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
    const QString replaced = std::exchange(m_shownText, text);
    if (m_basePixelSize == 0)
        m_basePixelSize = font().pixelSize();
    setPixelSize(m_basePixelSize);
    setPlainText(text);
    keepDocumentChangesQuiet(); // setting a plain text connects it again
    // The longest texts take three lines at this font; a slightly tighter line
    // keeps all three inside the box.
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat format;
    format.setLineHeight(kLineHeight, QTextBlockFormat::FixedHeight);
    cursor.mergeBlockFormat(format);
    // A text that would need a fourth line (a port named by a long path) is set a
    // pixel or two smaller: the box has room for three. Every other text keeps the
    // box's own font.
    while (linesShown() > kLines && font().pixelSize() > kSmallestPixelSize)
        setPixelSize(font().pixelSize() - 1);
    // A screen reader hears what an operation reports, as a sighted user sees it.
    QAccessibleTextUpdateEvent announcement(this, 0, replaced, text);
    QAccessible::updateAccessibility(&announcement);
}

void StatusTextBox::keepDocumentChangesQuiet()
{
    // Qt's text box tells assistive tools of every change to its document, as removals
    // of blanks and insertions, two or three for each text laid out here; the box
    // announces each new text itself, once. The document's change signal serves
    // nothing else.
    disconnect(document(), &QTextDocument::contentsChange, nullptr, nullptr);
}

int StatusTextBox::linesShown() const
{
    document()->documentLayout()->documentSize(); // lays the text out now
    return document()->firstBlock().layout()->lineCount();
}

void StatusTextBox::setPixelSize(int pixels)
{
    if (font().pixelSize() == pixels)
        return;
    QFont smaller = font();
    smaller.setPixelSize(pixels);
    setFont(smaller);
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
