// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace kdr {

// A serial port as the system reports it, with what identifies it to a person.
struct SerialPortDescription {
    QString device;       // e.g. "/dev/ttyUSB0", "COM3"
    QString description;  // e.g. "FT232R USB UART"
    QString manufacturer; // e.g. "FTDI"
    QString serialNumber;
    std::optional<quint16> vendorId, productId;

    // "/dev/ttyUSB0 — FT232R USB UART (FTDI, A50285BI)", leaving out what is not known.
    QString label() const;
    // "0403:6001", or empty.
    QString usbId() const;
};

// Every serial port the system reports, in its order.
QList<SerialPortDescription> availableSerialPorts();

// A device name short enough for the status box: the name itself, or the device a
// long link (e.g. under /dev/serial/by-id) points to, or its end.
QString shortDeviceName(const QString &device);

} // namespace kdr
