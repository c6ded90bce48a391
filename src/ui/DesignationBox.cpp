// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesignationBox.h"

#include "StorableTextValidator.h"

#include <QHelpEvent>
#include <QToolTip>

namespace kdr {

DesignationBox::DesignationBox(const QString &text, QWidget *parent) : QLineEdit(parent)
{
    setValidator(new StorableTextValidator(this));
    showText(text);
}

void DesignationBox::showText(const QString &text)
{
    setText(text);
    setCursorPosition(0);
}

void DesignationBox::setNamingToolTip(const QString &text)
{
    m_toolTip = text;
    setAccessibleName(text);
}

bool DesignationBox::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_toolTip.isEmpty()) {
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), m_toolTip, this);
        return true;
    }
    return QLineEdit::event(event);
}

} // namespace kdr
