// The serial-port component over QSerialPort: line settings recorded while closed and applied
// at Open, a receive event with the number of bytes waiting (on the thread that owns the port),
// exclusive use of the device, and a port that closes itself when its device goes away.
#pragma once

#include "platform/Exception.h"

#include <QObject>
#include <QSerialPort>
#include <QString>

#include <functional>

enum TBaudRate { br1200, br2400, br4800, br9600, br19200 };
enum TParityBits { prNone, prOdd, prEven };
enum TDataBits { dbSeven, dbEight };
enum TStopBits { sbOneStopBit, sbTwoStopBits };

// Raised by Open and by the buffer operations when the device refuses.
class EComPort : public Exception
{
public:
    using Exception::Exception;
};

class TComPort : public QObject
{
    Q_OBJECT

public:
    explicit TComPort(QObject *parent = nullptr);
    ~TComPort() override;

    QString Port() const { return m_port; }
    void SetPort(const QString &port) { m_port = port; }
    TBaudRate BaudRate() const { return m_baudRate; }
    void SetBaudRate(TBaudRate rate) { m_baudRate = rate; }
    TParityBits ParityBits() const { return m_parity; }
    void SetParityBits(TParityBits parity) { m_parity = parity; }
    TDataBits DataBits() const { return m_dataBits; }
    void SetDataBits(TDataBits bits) { m_dataBits = bits; }
    TStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(TStopBits bits) { m_stopBits = bits; }

    // Opens the device named by Port with the recorded settings, raises DTR and holds RTS off
    // (lines without modem control refuse both, which is no failure). On any other failure the
    // port stays closed and EComPort is raised.
    void Open();
    void Close();
    bool Connected() const;
    // Discards what waits in the receive and/or send queues.
    void ClearBuffer(bool input, bool output);
    // Takes up to count waiting bytes; returns how many it took.
    int Read(char *buffer, int count);
    // Queues one byte for sending and returns 1: the event loop sends it, in order, without the
    // caller waiting. Returns 0 when the port is closed.
    int WriteCh(char c);

    // The device the last Open used, or why it could not: for the user to see.
    QString Status() const { return m_status; }

    // The device file for a port name: on Linux "COM<text>" is a file of that name in the
    // working directory (a link the user made), else for a number n >= 1 the first existing
    // of /dev/ttyUSB<n-1>, /dev/ttyACM<n-1>, /dev/ttyS<n-1>; empty when none. Other names and
    // other systems: the name as it stands.
    static QString DeviceFor(const QString &port, const std::function<bool(const QString &)> &exists);

    static qint32 BaudRateValue(TBaudRate rate);

signals:
    // Bytes are waiting: count of them, more than 0.
    void RxChar(int count);
    // The device went away while open (unplugged, hung up); the port has been closed.
    void DeviceLost();

private:
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    [[noreturn]] void fail(const QString &reason);

    QSerialPort *m_serial;
    int m_lockFd = -1;
    QString m_port = QStringLiteral("COM1");
    TBaudRate m_baudRate = br1200;
    TParityBits m_parity = prNone;
    TDataBits m_dataBits = dbSeven;
    TStopBits m_stopBits = sbTwoStopBits;
    QString m_status;
};
