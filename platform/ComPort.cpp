// The serial-port component over QSerialPort.
#include "platform/ComPort.h"

#include <QSerialPort>

TComPort::TComPort(QObject *parent)
    : QObject(parent)
    , m_serial(new QSerialPort(this))
{
    connect(m_serial, &QSerialPort::readyRead, this, &TComPort::onReadyRead);
}

TComPort::~TComPort() = default;

qint32 TComPort::BaudRateValue(TBaudRate rate)
{
    switch (rate) {
    case br1200: return 1200;
    case br2400: return 2400;
    case br4800: return 4800;
    case br9600: return 9600;
    case br19200: return 19200;
    }
    return 9600;
}

void TComPort::Open()
{
    if (m_serial->isOpen())
        return;
    m_serial->setPortName(m_port);
    if (!m_serial->open(QIODevice::ReadWrite))
        throw EComPort(m_serial->errorString().toStdString());
    const bool ok = m_serial->setBaudRate(BaudRateValue(m_baudRate))
        && m_serial->setParity(m_parity == prEven ? QSerialPort::EvenParity
                               : m_parity == prOdd ? QSerialPort::OddParity
                                                   : QSerialPort::NoParity)
        && m_serial->setDataBits(m_dataBits == dbEight ? QSerialPort::Data8 : QSerialPort::Data7)
        && m_serial->setStopBits(m_stopBits == sbTwoStopBits ? QSerialPort::TwoStop : QSerialPort::OneStop)
        && m_serial->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) {
        const QString reason = m_serial->errorString();
        m_serial->close();
        throw EComPort(reason.toStdString());
    }
}

void TComPort::Close()
{
    if (m_serial->isOpen())
        m_serial->close();
}

bool TComPort::Connected() const
{
    return m_serial->isOpen();
}

void TComPort::ClearBuffer(bool input, bool output)
{
    QSerialPort::Directions directions;
    if (input)
        directions |= QSerialPort::Input;
    if (output)
        directions |= QSerialPort::Output;
    if (m_serial->isOpen() && directions && !m_serial->clear(directions))
        throw EComPort(m_serial->errorString().toStdString());
}

int TComPort::Read(char *buffer, int count)
{
    const qint64 n = m_serial->read(buffer, count);
    return n < 0 ? 0 : int(n);
}

int TComPort::WriteCh(char c)
{
    const qint64 n = m_serial->write(&c, 1);
    return n < 0 ? 0 : int(n);
}

void TComPort::onReadyRead()
{
    const qint64 waiting = m_serial->bytesAvailable();
    if (waiting > 0)
        emit RxChar(int(std::min<qint64>(waiting, INT32_MAX)));
}
