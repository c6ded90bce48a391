// SPDX-License-Identifier: GPL-3.0-or-later
#include "SerialPorts.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStringList>

namespace kdr {

namespace {
constexpr qsizetype kShortNameLength = 24;
}

QString SerialPortDescription::label() const
{
    QStringList maker;
    if (!manufacturer.isEmpty())
        maker << manufacturer;
    if (!serialNumber.isEmpty())
        maker << serialNumber;
    QString text = device;
    if (!description.isEmpty())
        text += QStringLiteral(" \u2014 ") + description;
    if (!maker.isEmpty())
        text += QStringLiteral(" (") + maker.join(QStringLiteral(", ")) + QLatin1Char(')');
    return text;
}

QString SerialPortDescription::usbId() const
{
    if (!vendorId || !productId)
        return {};
    return QStringLiteral("%1:%2").arg(*vendorId, 4, 16, QLatin1Char('0')).arg(*productId, 4, 16, QLatin1Char('0'));
}

QList<SerialPortDescription> availableSerialPorts()
{
    QList<SerialPortDescription> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
#ifdef Q_OS_WIN
        // "COM3", as Device Manager names it, rather than its device path "\\.\COM3".
        const QString device = info.portName();
#else
        const QString device = info.systemLocation();
#endif
        SerialPortDescription port{device,       info.description(), info.manufacturer(), info.serialNumber(),
                                   std::nullopt, std::nullopt};
        if (info.hasVendorIdentifier())
            port.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            port.productId = info.productIdentifier();
        ports << port;
    }
    return ports;
}

QString shortDeviceName(const QString &device)
{
    if (device.size() <= kShortNameLength)
        return device;
    QString target = QFileInfo(device).canonicalFilePath();
    if (!target.isEmpty() && target.size() <= kShortNameLength)
        return target;
    return QStringLiteral("\u2026") + device.right(kShortNameLength - 1);
}

} // namespace kdr
