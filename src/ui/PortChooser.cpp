// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortChooser.h"

#include "link/PanelPort.h"

#include <QAbstractItemView>
#include <QLineEdit>

namespace kdr {

PortChooser::PortChooser(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Device paths are typed whole or picked from the list; completing them from a
    // list of two or three entries would only get in the way.
    setCompleter(nullptr);
    addItem(PanelPort::defaultDevice(), PanelPort::defaultDevice());
    connect(this, &QComboBox::activated, this, [this](int index) { choose(itemData(index).toString()); });
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] { choose(lineEdit()->text().trimmed()); });
    // What a screen reader says on the text that has the focus, and on the list it opens.
    lineEdit()->setAccessibleName(QStringLiteral("SERIAL PORT"));
    view()->setAccessibleName(QStringLiteral("SERIAL PORT LIST"));
}

void PortChooser::showChosen(const QString &device)
{
    m_chosen = device;
    setEditText(device);
}

void PortChooser::refreshList()
{
    const QString typed = currentText();
    clear();
    addItem(PanelPort::defaultDevice(), PanelPort::defaultDevice());
    for (const SerialPortDescription &port : m_lister())
        if (port.device != PanelPort::defaultDevice())
            addItem(port.label(), port.device);
    setEditText(typed);
}

void PortChooser::showPopup()
{
    refreshList();
    // The list is wider than the box: the descriptions must be readable. (Made
    // here, not at start: the window need not build a list nobody has opened.)
    view()->setTextElideMode(Qt::ElideNone);
    int widest = width();
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, fontMetrics().horizontalAdvance(itemText(i)) + 32);
    view()->setMinimumWidth(widest);
    QComboBox::showPopup();
}

void PortChooser::choose(const QString &device)
{
    setEditText(device);
    if (device.isEmpty() || device == m_chosen)
        return;
    m_chosen = device;
    emit portChosen(device);
}

} // namespace kdr
