// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/SerialPorts.h"

#include <QComboBox>

#include <functional>

namespace kdr {

// The editable list of serial ports: port 1 first, then every port the system
// reports, each with what identifies it to a person, found afresh each time the
// list opens, and last "FIND THE SWITCH PANEL". Picking a port, or typing a device
// path and pressing Enter or leaving the box, chooses that port; the box then shows
// the device path alone. Picking the last entry asks for the panel to be found.
class PortChooser : public QComboBox {
    Q_OBJECT
public:
    explicit PortChooser(QWidget *parent = nullptr);

    // Where the ports come from (the system's list unless replaced, e.g. by a test).
    void setPortLister(std::function<QList<SerialPortDescription>()> lister) { m_lister = std::move(lister); }

    // Shows a device as chosen without announcing it.
    void showChosen(const QString &device);
    // The ports the system lists (those the list shows after port 1), by device name.
    QStringList ports() const;
    // Whether the list offers to find the panel (a window with a fixed port does not).
    void setFindOffered(bool offered) { m_findOffered = offered; }

    void showPopup() override;

signals:
    void portChosen(const QString &device);
    void findRequested();

private:
    void refreshList();
    void choose(const QString &device);

    std::function<QList<SerialPortDescription>()> m_lister = availableSerialPorts;
    QString m_chosen;
    bool m_findOffered = true;
};

} // namespace kdr
