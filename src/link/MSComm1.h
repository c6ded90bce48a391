#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

namespace kdr {

// The serial port to the switch panel, with the six operations the program uses:
// port number, line settings, open state, transmit, buffered count and receive.
// Port n is the platform's n-th serial port ("COM<n>" on Windows, "/dev/ttyS<n−1>"
// elsewhere) unless a device was given to the constructor, which then stands for
// every port number (tests and the simulator hand in a pseudo-terminal).
//
// A port whose cable goes away is closed at once and reported through
// connectionLost(); transmitting on a closed port does nothing.
class MSComm1 : public QObject {
    Q_OBJECT
public:
    explicit MSComm1(QString device = {}, QObject *parent = nullptr);
    ~MSComm1() override;

    static QString platformPortName(int portNumber);

    void setCommPort(int portNumber);
    // "baud,parity,data bits,stop bits", e.g. "9600,N,8,1"; false if it is not such a text.
    bool setSettings(const QString &settings);

    // Opens or closes the port; after a failed open portOpen() stays false.
    void setPortOpen(bool open);
    bool portOpen() const;
    QString deviceName() const;
    bool lostConnection() const { return m_lost; }

    // Hands every byte to the port in one call, zero bytes included; does not wait.
    void output(const QByteArray &bytes);
    // Bytes received and waiting, at most 32767.
    int inBufferCount() const;
    // Takes every waiting byte.
    QByteArray input();

signals:
    void bytesReceived();
    void connectionLost();

private:
    void onError(QSerialPort::SerialPortError error);
    void closeAfterLoss();

    QSerialPort m_port;
    QString m_fixedDevice;
    int m_commPort = 1;
    qint32 m_baud = 9600;
    QSerialPort::Parity m_parity = QSerialPort::NoParity;
    QSerialPort::DataBits m_dataBits = QSerialPort::Data8;
    QSerialPort::StopBits m_stopBits = QSerialPort::OneStop;
    bool m_lost = false;
};

} // namespace kdr
