#include "MSComm1.h"

#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <map>

namespace kdr {

namespace {

const std::map<QString, QSerialPort::Parity> kParities{
    {QStringLiteral("N"), QSerialPort::NoParity},   {QStringLiteral("E"), QSerialPort::EvenParity},
    {QStringLiteral("O"), QSerialPort::OddParity},  {QStringLiteral("M"), QSerialPort::MarkParity},
    {QStringLiteral("S"), QSerialPort::SpaceParity},
};

const std::map<QString, QSerialPort::StopBits> kStopBits{
    {QStringLiteral("1"), QSerialPort::OneStop},
    {QStringLiteral("1.5"), QSerialPort::OneAndHalfStop},
    {QStringLiteral("2"), QSerialPort::TwoStop},
};

} // namespace

MSComm1::MSComm1(QString device, QObject *parent)
    : QObject(parent), m_fixedDevice(std::move(device))
{
    connect(&m_port, &QSerialPort::readyRead, this, &MSComm1::bytesReceived);
    connect(&m_port, &QSerialPort::errorOccurred, this, &MSComm1::onError);
}

MSComm1::~MSComm1()
{
    if (m_port.isOpen())
        m_port.close();
}

QString MSComm1::platformPortName(int portNumber)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

void MSComm1::setCommPort(int portNumber)
{
    m_commPort = portNumber;
}

QString MSComm1::deviceName() const
{
    return m_fixedDevice.isEmpty() ? platformPortName(m_commPort) : m_fixedDevice;
}

bool MSComm1::setSettings(const QString &settings)
{
    const QStringList parts = settings.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    bool baudOk = false, bitsOk = false;
    const int baud = parts[0].trimmed().toInt(&baudOk);
    const int bits = parts[2].trimmed().toInt(&bitsOk);
    const QString parity = parts[1].trimmed().toUpper();
    const QString stop = parts[3].trimmed();
    if (!baudOk || baud <= 0 || !bitsOk || bits < 5 || bits > 8)
        return false;
    const auto parityFound = kParities.find(parity);
    const auto stopFound = kStopBits.find(stop);
    if (parityFound == kParities.end() || stopFound == kStopBits.end())
        return false;
    const QSerialPort::Parity p = parityFound->second;
    const QSerialPort::StopBits s = stopFound->second;
    m_baud = baud;
    m_parity = p;
    m_dataBits = QSerialPort::DataBits(bits);
    m_stopBits = s;
    return true;
}

void MSComm1::setPortOpen(bool open)
{
    if (!open) {
        if (m_port.isOpen())
            m_port.close();
        return;
    }
    if (m_port.isOpen())
        return;
    m_lost = false;
    m_port.setPortName(deviceName());
    // Line settings go in before opening: some devices (pseudo-terminals among
    // them) refuse changes to parity or data bits once open.
    m_port.setBaudRate(m_baud);
    m_port.setParity(m_parity);
    m_port.setDataBits(m_dataBits);
    m_port.setStopBits(m_stopBits);
    if (!m_port.open(QIODevice::ReadWrite))
        return;
    // Whatever the line collected while nobody listened is no reply to us.
    m_port.clear();
}

bool MSComm1::portOpen() const
{
    return m_port.isOpen() && !m_lost;
}

void MSComm1::output(const QByteArray &bytes)
{
    if (!portOpen())
        return;
    m_port.write(bytes);
    m_port.flush();
}

int MSComm1::inBufferCount() const
{
    if (!portOpen())
        return 0;
    return int(std::min<qint64>(m_port.bytesAvailable(), 32767));
}

QByteArray MSComm1::input()
{
    if (!m_port.isOpen())
        return {};
    return m_port.readAll();
}

void MSComm1::onError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::PermissionError:
        break;
    default:
        return;
    }
    if (!m_port.isOpen() || m_lost)
        return;
    // The cable has gone. Qt 6.4 keeps reporting the error in a tight loop while the
    // port stays open, so close it; but not from inside the port's own notification.
    m_lost = true;
    QTimer::singleShot(0, this, &MSComm1::closeAfterLoss);
    emit connectionLost();
}

void MSComm1::closeAfterLoss()
{
    if (m_lost && m_port.isOpen())
        m_port.close();
}

} // namespace kdr
