// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSerialPort>

namespace kdr {

// Speed and framing of a serial line. The panel speaks 9600 baud, no parity,
// 8 data bits, 1 stop bit, and nothing else.
struct LineSettings {
    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};

inline constexpr LineSettings kPanelLineSettings{};

} // namespace kdr
