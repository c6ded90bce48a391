// SPDX-License-Identifier: GPL-3.0-or-later
#include "PortChooser.h"

#include "link/PanelPort.h"

#include <QAbstractItemView>
#include <QLineEdit>

namespace kdr {

namespace {

// Marks the list's last entry, which is no port.
constexpr int kFindRole = Qt::UserRole + 1;

} // namespace

PortChooser::PortChooser(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Device paths are typed whole or picked from the list; completing them from a
    // list of two or three entries would only get in the way.
    setCompleter(nullptr);
    addItem(PanelPort::defaultDevice(), PanelPort::defaultDevice());
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (itemData(index, kFindRole).toBool()) {
            setEditText(m_chosen);
            emit findRequested();
            return;
        }
        choose(itemData(index).toString());
    });
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
    if (m_findOffered) {
        addItem(QStringLiteral("FIND THE SWITCH PANEL"));
        setItemData(count() - 1, true, kFindRole);
    }
    setEditText(typed);
}

QStringList PortChooser::ports() const
{
    QStringList ports;
    for (const SerialPortDescription &port : m_lister())
        ports << port.device;
    return ports;
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
