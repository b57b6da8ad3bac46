// The serial-port component: line settings recorded while closed and applied at Open, and a
// receive event with the number of bytes waiting, delivered on the thread that owns the port.
#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>

class QSerialPort;

enum TBaudRate { br1200, br2400, br4800, br9600, br19200 };
enum TParityBits { prNone, prOdd, prEven };
enum TDataBits { dbSeven, dbEight };
enum TStopBits { sbOneStopBit, sbTwoStopBits };

// Raised by Open and by the buffer operations when the device refuses.
class EComPort : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TComPort : public QObject
{
    Q_OBJECT

public:
    static constexpr int kBufferSize = 1024;  // driver receive queue the events report from

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

    // Opens the device with the recorded settings; on any failure the port stays closed and
    // EComPort is raised.
    void Open();
    void Close();
    bool Connected() const;
    // Discards what waits in the receive and/or send queues.
    void ClearBuffer(bool input, bool output);
    // Takes up to count waiting bytes; returns how many it took.
    int Read(char *buffer, int count);
    // Writes one byte; returns the number of bytes written.
    int WriteCh(char c);

    static qint32 BaudRateValue(TBaudRate rate);

signals:
    // Bytes are waiting: count of them, more than 0.
    void RxChar(int count);

private:
    void onReadyRead();

    QSerialPort *m_serial;
    QString m_port = QStringLiteral("COM1");
    TBaudRate m_baudRate = br1200;
    TParityBits m_parity = prNone;
    TDataBits m_dataBits = dbSeven;
    TStopBits m_stopBits = sbTwoStopBits;
};
