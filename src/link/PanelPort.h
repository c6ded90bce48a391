// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InProcessLine.h"
#include "LineSettings.h"
#include "PortOpenError.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QString>

#include <chrono>

namespace kdr {

// The serial line to one switch panel. It opens a device (a platform port name
// such as "/dev/ttyS0" or "COM1", or any path, e.g. a link under /dev/serial),
// sends commands in one piece, zero bytes included, and hands out what came back.
//
// A port whose cable goes away is closed at once and reported through
// connectionLost(); sending on a closed port does nothing.
//
// Given an in-process line, the port talks to the peer at its far end instead of a
// serial device, whatever its device name; everything else stays the same.
class PanelPort : public QObject {
    Q_OBJECT
public:
    explicit PanelPort(QString device, QObject *parent = nullptr);
    ~PanelPort() override;

    // Port 1, which the tool uses unless told otherwise: "COM1" on Windows,
    // "/dev/ttyS0" elsewhere.
    static QString defaultDevice();

    QString device() const { return m_device; }
    // Takes effect at the next open().
    void setDevice(const QString &device) { m_device = device; }
    // Takes effect at the next open(); the line must outlive its use here.
    void useInProcessLine(InProcessLine *line) { m_line = line; }

    // Applies the settings before opening (some devices, pseudo-terminals among
    // them, refuse framing changes once open) and empties the line.
    PortOpenError open(const LineSettings &settings);
    void close();
    bool isOpen() const;
    bool lostConnection() const { return m_lost; }

    // Hands every byte to the port in one call; does not wait for them to leave.
    void send(const QByteArray &bytes);
    // Bytes received and waiting, at most 32767.
    int bytesWaiting() const;
    // Takes every waiting byte.
    QByteArray takeAll();
    // Drops every byte received and not yet taken, including what the system still holds.
    void discardInput();
    // Takes in what the system has received and the port not yet: on a busy machine a
    // timer's event may run before the port's notification of bytes that came first.
    // Waits at most kCollectTime, and only when the system holds bytes.
    void collectReceived();
    static constexpr std::chrono::milliseconds kCollectTime{20};

signals:
    // Bytes have come in (from the serial device, or the far end of the in-process line).
    void bytesArrived();
    void connectionLost();

private:
    void onError(QSerialPort::SerialPortError error);
    void closeAfterLoss();
    void onArrival();

    QSerialPort m_port{this};
    QPointer<InProcessLine> m_line;
    bool m_lineOpen = false;
    QString m_device;
    bool m_lost = false;
    qint64 m_traced = 0; // bytes waiting that the wire trace has shown
};

} // namespace kdr
