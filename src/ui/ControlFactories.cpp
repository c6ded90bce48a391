// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlFactories.h"

#include "CalloutShapes.h"
#include "DesignationBox.h"
#include "PanelArt.h"
#include "PortChooser.h"
#include "SelectionList.h"
#include "StatusTextBox.h"
#include "StorableTextValidator.h"
#include "WrappingButton.h"

#include "model/SwitchPanelView.h"

#include <QLabel>
#include <QLineEdit>

namespace kdr {

namespace {

QWidget *makePicture(const ControlSpec &, QWidget *parent, WindowControls &)
{
    auto *picture = new PanelPicture(parent);
    picture->setAccessibleName(QStringLiteral("PICTURE OF THE SWITCH PANEL"));
    return picture;
}

QWidget *makeCaption(const ControlSpec &entry, QWidget *parent, WindowControls &made)
{
    SwitchGroup &group = made.switches.at(entry.switchIndex);
    group.caption = new QLabel(entry.text, parent);
    group.markFailed(false);
    return group.caption;
}

QLabel *makeWrappingLabel(const ControlSpec &entry, QWidget *parent, WindowControls &made)
{
    auto *label = new QLabel(entry.text, parent);
    label->setWordWrap(true);
    if (!entry.labels.isEmpty())
        made.namingCaptions.emplace_back(label, entry.labels);
    return label;
}

QWidget *makeLabel(const ControlSpec &entry, QWidget *parent, WindowControls &made)
{
    return makeWrappingLabel(entry, parent, made);
}

QWidget *makeTitle(const ControlSpec &entry, QWidget *parent, WindowControls &made)
{
    QLabel *title = makeWrappingLabel(entry, parent, made);
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette p = title->palette();
    p.setColor(QPalette::WindowText, QColor(0, 0, 255));
    title->setPalette(p);
    return title;
}

QWidget *makeHeading(const ControlSpec &entry, QWidget *parent, WindowControls &made)
{
    QLabel *heading = makeWrappingLabel(entry, parent, made);
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // A heading may stand over the dark picture: it has its own background.
    heading->setAutoFillBackground(true);
    return heading;
}

QWidget *makeLine(const ControlSpec &entry, QWidget *parent, WindowControls &)
{
    const QRect r = entry.pixelRect();
    return new CalloutLine(r.topLeft(), QPoint(r.left() + r.width(), r.top()), parent);
}

QWidget *makeShape(const ControlSpec &, QWidget *parent, WindowControls &)
{
    return new MarkerShape(parent);
}

template<typename Entries>
SelectionList *makeList(QWidget *parent, const Entries &entries)
{
    auto *list = new SelectionList(parent);
    list->setFrameShape(QFrame::Box);
    list->setLineWidth(1);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (const ListEntry &item : entries)
        list->addEntry(QString::fromLatin1(item.text), item.itemValue);
    return list;
}

QWidget *makeModuleList(const ControlSpec &entry, QWidget *parent, WindowControls &made)
{
    return made.switches.at(entry.switchIndex).moduleList = makeList(parent, kModuleList);
}

QWidget *makeChannelList(const ControlSpec &entry, QWidget *parent, WindowControls &made)
{
    return made.switches.at(entry.switchIndex).channelList = makeList(parent, kChannelList);
}

QWidget *makeDesignationBox(const ControlSpec &entry, QWidget *parent, WindowControls &made)
{
    auto *box = new DesignationBox(entry.text, parent);
    box->setNamingToolTip(entry.toolTip);
    return made.switches.at(entry.switchIndex).designation = box;
}

QWidget *makeNameBox(const ControlSpec &, QWidget *parent, WindowControls &made)
{
    auto *box = new QLineEdit(parent);
    box->setMaxLength(kPanelNameMaxLength);
    box->setValidator(new StorableTextValidator(box));
    return made.panelName = box;
}

QWidget *makePortChooser(const ControlSpec &, QWidget *parent, WindowControls &made)
{
    return made.portChooser = new PortChooser(parent);
}

QWidget *makeStatusBox(const ControlSpec &, QWidget *parent, WindowControls &made)
{
    // There from the start, for assistive tools too, and shown when an operation reports.
    auto *box = new StatusTextBox(parent);
    box->hide();
    return made.statusBox = box;
}

QWidget *makeButton(const ControlSpec &entry, QWidget *parent, WindowControls &made)
{
    auto *button = new WrappingButton(entry.text, parent);
    button->setAutoDefault(false);
    made.commandButtons[entry.command] = button;
    return button;
}

constexpr size_t kKindCount = size_t(ControlKind::PortChooser) + 1;

// In the order of ControlKind.
const std::array<ControlKindTraits, kKindCount> kTraits{{
    {makePicture},
    {makeCaption},
    {makeTitle, false, false, true},
    {makeHeading},
    {makeLabel},
    {makeLine, false, true},
    {makeShape},
    {makeModuleList},
    {makeChannelList},
    {makeDesignationBox, true, false, false, ToolTipUse::MadeWithIt},
    {makeNameBox, true},
    {makeStatusBox},
    {makeButton, false, false, false, ToolTipUse::DescribesCaption},
    {makePortChooser, true},
}};

} // namespace

const ControlKindTraits &traitsOf(ControlKind kind)
{
    return kTraits.at(size_t(kind));
}

} // namespace kdr
