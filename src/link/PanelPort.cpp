// SPDX-License-Identifier: GPL-3.0-or-later
#include "PanelPort.h"

#include "SerialLock.h"
#include "WireTrace.h"

#include <QTimer>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

#ifdef Q_OS_WIN
#include <QRegularExpression>

#include <windows.h>
#endif

namespace kdr {

namespace {

// What can be told about a device before trying to open it: Qt's own error for a
// missing device or one without permission is less precise, and it would leave a
// lock file behind for a path that is no serial port at all.
std::optional<PortOpenError> checkBeforeOpening(const QString &device)
{
#ifdef Q_OS_UNIX
    // As Qt opens it: a name without a slash ("ttyUSB0") is one under /dev.
    const QByteArray path =
        (device.contains(QLatin1Char('/')) ? device : QStringLiteral("/dev/") + device).toLocal8Bit();
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return errno == EACCES ? PortOpenError::PermissionDenied : PortOpenError::NoSuchPort;
    if (!S_ISCHR(info.st_mode))
        return PortOpenError::NotASerialPort;
    if (::access(path.constData(), R_OK | W_OK) != 0)
        return PortOpenError::PermissionDenied;
    // Qt would take another program's lock file for a stale one of its own, delete
    // it and open the port: two programs on one line.
    if (lockedByAnotherProgram(device))
        return PortOpenError::InUse;
#elif defined(Q_OS_WIN)
    // Qt opens whatever the name names for reading and writing, and alone: a file,
    // NUL, the console. COMn is a serial port's name by Windows' own rule; anything
    // else is looked at first, opened for reading only and shared, and must take a
    // serial line's settings.
    static const QRegularExpression kComName(QStringLiteral(R"(^(\\\\\.\\)?COM[0-9]+$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (kComName.match(device).hasMatch())
        return std::nullopt;
    const HANDLE handle = ::CreateFileW(reinterpret_cast<const wchar_t *>(device.utf16()), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
            return PortOpenError::NoSuchPort;
        case ERROR_ACCESS_DENIED:
            return PortOpenError::PermissionDenied;
        case ERROR_SHARING_VIOLATION:
            return PortOpenError::InUse;
        default:
            return PortOpenError::NotASerialPort;
        }
    }
    DCB line{};
    line.DCBlength = sizeof line;
    const bool serial = ::GetFileType(handle) == FILE_TYPE_CHAR && ::GetCommState(handle, &line);
    ::CloseHandle(handle);
    if (!serial)
        return PortOpenError::NotASerialPort;
#else
    Q_UNUSED(device);
#endif
    return std::nullopt;
}

// What an error of Qt Serial Port means for the panel's line: why a port could not be
// opened, and whether an open port has lost its line. Qt passes the system's own
// errors on as these; on Windows:
//   ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_NAME      DeviceNotFoundError
//   ERROR_ACCESS_DENIED: opening, another program holds the port;
//     once open, a USB adapter unplugged                                 PermissionError
//   ERROR_OPERATION_ABORTED (a wait the driver cancelled),
//     ERROR_DEVICE_REMOVED, ERROR_BAD_COMMAND, ERROR_INVALID_HANDLE     ResourceError
//   ERROR_INVALID_PARAMETER                                              UnsupportedOperationError
//   any other failure of a read or a write                              ReadError, WriteError
// On Linux a missing device, a lock file and a device that is no serial port are
// found before Qt is asked (checkBeforeOpening); a pulled cable there is a ResourceError.
struct PortErrorMeaning {
    QSerialPort::SerialPortError error;
    PortOpenError whenOpening;
    bool lineLost; // once open
};

constexpr PortErrorMeaning kPortErrors[] = {
    {QSerialPort::DeviceNotFoundError, PortOpenError::NoSuchPort, false},
    // With read and write permission checked beforehand (on Linux), this is another
    // program's lock or exclusive open.
    {QSerialPort::PermissionError, PortOpenError::InUse, true},
    {QSerialPort::OpenError, PortOpenError::InUse, false},
    {QSerialPort::UnsupportedOperationError, PortOpenError::NotASerialPort, false},
    {QSerialPort::ResourceError, PortOpenError::Other, true},
    {QSerialPort::ReadError, PortOpenError::Other, true},
    {QSerialPort::WriteError, PortOpenError::Other, true},
};

PortErrorMeaning meaningOf(QSerialPort::SerialPortError error)
{
    for (const PortErrorMeaning &meaning : kPortErrors)
        if (meaning.error == error)
            return meaning;
    return {error, PortOpenError::Other, false};
}

// Whether the system holds received bytes that the port has not read yet.
bool systemHoldsInput(QSerialPort &port)
{
#ifdef Q_OS_UNIX
    int waiting = 0;
    return ::ioctl(int(port.handle()), FIONREAD, &waiting) == 0 && waiting > 0;
#elif defined(Q_OS_WIN)
    COMSTAT status{};
    return ::ClearCommError(port.handle(), nullptr, &status) && status.cbInQue > 0;
#else
    Q_UNUSED(port);
    return false;
#endif
}

} // namespace

PanelPort::PanelPort(QString device, QObject *parent) : QObject(parent), m_device(std::move(device))
{
    connect(&m_port, &QSerialPort::errorOccurred, this, &PanelPort::onError);
    connect(&m_port, &QSerialPort::readyRead, this, &PanelPort::onArrival);
}

void PanelPort::onArrival()
{
    // Bytes a wait has taken already need no wake-up.
    if (m_line && m_line->bytesWaiting() == 0)
        return;
    if (lcWire().isDebugEnabled()) {
        // Each byte is traced once, when it arrives, not again when it is taken.
        const QByteArray waiting = m_line ? m_line->peek() : m_port.peek(m_port.bytesAvailable());
        traceWire(m_device, WireDirection::Received, waiting.mid(m_traced));
        m_traced = waiting.size();
    }
    emit bytesArrived();
}

PanelPort::~PanelPort()
{
    close();
}

QString PanelPort::defaultDevice()
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM1");
#else
    return QStringLiteral("/dev/ttyS0");
#endif
}

PortOpenError PanelPort::open(const LineSettings &settings)
{
    if (m_line) {
        if (!m_lineOpen) {
            m_lineOpen = true;
            m_lost = false;
            connect(m_line, &InProcessLine::arrived, this, &PanelPort::onArrival);
            m_line->takeAll();
        }
        return PortOpenError::None;
    }
    if (m_port.isOpen())
        return PortOpenError::None;
    m_lost = false;
    if (const auto refused = checkBeforeOpening(m_device))
        return *refused;
    m_port.setPortName(m_device);
    m_port.setBaudRate(settings.baudRate);
    m_port.setParity(settings.parity);
    m_port.setDataBits(settings.dataBits);
    m_port.setStopBits(settings.stopBits);
    if (!m_port.open(QIODevice::ReadWrite))
        return meaningOf(m_port.error()).whenOpening;
    // Whatever the line collected while nobody listened is no reply to us.
    m_port.clear();
    m_traced = 0;
    return PortOpenError::None;
}

void PanelPort::close()
{
    if (m_lineOpen) {
        m_lineOpen = false;
        if (m_line)
            disconnect(m_line, &InProcessLine::arrived, this, &PanelPort::onArrival);
    }
    if (m_port.isOpen())
        m_port.close();
}

bool PanelPort::isOpen() const
{
    if (m_line)
        return m_lineOpen;
    return m_port.isOpen() && !m_lost;
}

void PanelPort::send(const QByteArray &bytes)
{
    if (!isOpen())
        return;
    traceWire(m_device, WireDirection::Sent, bytes);
    if (m_line) {
        m_line->transmit(bytes);
        return;
    }
    m_port.write(bytes);
    m_port.flush();
}

int PanelPort::bytesWaiting() const
{
    if (!isOpen())
        return 0;
    const qint64 waiting = m_line ? m_line->bytesWaiting() : m_port.bytesAvailable();
    return int(std::min<qint64>(waiting, 32767));
}

QByteArray PanelPort::takeAll()
{
    m_traced = 0;
    if (m_line)
        return m_lineOpen ? m_line->takeAll() : QByteArray();
    if (!m_port.isOpen())
        return {};
    return m_port.readAll();
}

void PanelPort::discardInput()
{
    if (!isOpen())
        return;
    traceWire(m_device, WireDirection::Dropped, takeAll());
    if (!m_line)
        m_port.clear(QSerialPort::Input);
}

void PanelPort::collectReceived()
{
    if (m_line || !m_port.isOpen() || m_lost || !systemHoldsInput(m_port))
        return;
    m_port.waitForReadyRead(int(kCollectTime.count()));
}

void PanelPort::onError(QSerialPort::SerialPortError error)
{
    if (!meaningOf(error).lineLost || !m_port.isOpen() || m_lost)
        return;
    // The cable has gone. Qt 6.4 keeps reporting the error in a tight loop while the
    // port stays open, so close it; but not from inside the port's own notification.
    m_lost = true;
    QTimer::singleShot(0, this, &PanelPort::closeAfterLoss);
    emit connectionLost();
}

void PanelPort::closeAfterLoss()
{
    if (m_lost && m_port.isOpen())
        m_port.close();
}

} // namespace kdr
