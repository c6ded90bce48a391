// SPDX-License-Identifier: GPL-3.0-or-later
#include "SwitchGroup.h"

#include "DesignationBox.h"
#include "SelectionList.h"

#include <QLabel>

namespace kdr {

namespace {

// System colour 14 over the dark picture; the red of a failure for the switch where
// a command stopped.
const QColor kCaptionColour(Qt::white);
const QColor kFailedCaptionColour(255, 0, 0);

} // namespace

void SwitchGroup::connectHandlers(std::function<void()> moduleSelected, std::function<void()> channelSelected,
                                  const std::function<void()> &edited) const
{
    moduleList->setSelectionHandler(std::move(moduleSelected));
    channelList->setSelectionHandler(std::move(channelSelected));
    QObject::connect(moduleList, &SelectionList::chosenByUser, moduleList, edited);
    QObject::connect(channelList, &SelectionList::chosenByUser, channelList, edited);
    QObject::connect(designation, &QLineEdit::textEdited, designation, edited);
}

void SwitchGroup::markFailed(bool failed) const
{
    QPalette p = caption->palette();
    p.setColor(QPalette::WindowText, failed ? kFailedCaptionColour : kCaptionColour);
    caption->setPalette(p);
    // Said, not only coloured: a screen reader hears where the operation stopped
    // (Qt announces the change of description).
    const QString description = failed ? QStringLiteral("STOPPED HERE") : QString();
    if (caption->accessibleDescription() != description)
        caption->setAccessibleDescription(description);
}

} // namespace kdr
