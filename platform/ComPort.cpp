// The serial-port component over QSerialPort.
#include "platform/ComPort.h"

#include <QDir>
#include <QFileInfo>

#include <climits>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

TComPort::TComPort(QObject *parent)
    : QObject(parent)
    , m_serial(new QSerialPort(this))
{
    connect(m_serial, &QSerialPort::readyRead, this, &TComPort::onReadyRead);
    connect(m_serial, &QSerialPort::errorOccurred, this, &TComPort::onError);
}

TComPort::~TComPort()
{
    Close();
}

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

QString TComPort::DeviceFor(const QString &port, const std::function<bool(const QString &)> &exists)
{
#ifdef Q_OS_LINUX
    if (!port.startsWith(QLatin1String("COM")))
        return port;
    if (exists(port))
        return QDir::current().absoluteFilePath(port);
    bool isNumber = false;
    const int n = port.mid(3).toInt(&isNumber);
    if (!isNumber || n < 1 || !port.mid(3).front().isDigit())
        return QString();
    for (const char *kind : {"/dev/ttyUSB", "/dev/ttyACM", "/dev/ttyS"}) {
        const QString device = QLatin1String(kind) + QString::number(n - 1);
        if (exists(device))
            return device;
    }
    return QString();
#else
    Q_UNUSED(exists);
    return port;
#endif
}

void TComPort::fail(const QString &reason)
{
    m_status = reason;
    Close();
    throw EComPort(reason.toStdString());
}

void TComPort::Open()
{
    if (Connected())
        return;
    const QString device = DeviceFor(m_port, [](const QString &path) { return QFileInfo::exists(path); });
    if (device.isEmpty())
        fail(tr("%1: no such device").arg(m_port));
    m_serial->setPortName(device);
    if (!m_serial->open(QIODevice::ReadWrite))
        fail(tr("%1 (%2): %3").arg(m_port, device, m_serial->errorString()));
#ifdef Q_OS_UNIX
    // One user at a time, also for root, whom the terminal's exclusive mode does not stop.
    // The lock is taken on a descriptor of our own, so that it lives exactly as long as the port.
    m_lockFd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_lockFd < 0 || ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0)
        fail(tr("%1 (%2): in use by another program").arg(m_port, device));
#endif
    const bool ok = m_serial->setBaudRate(BaudRateValue(m_baudRate))
        && m_serial->setParity(m_parity == prEven ? QSerialPort::EvenParity
                               : m_parity == prOdd ? QSerialPort::OddParity
                                                   : QSerialPort::NoParity)
        && m_serial->setDataBits(m_dataBits == dbEight ? QSerialPort::Data8 : QSerialPort::Data7)
        && m_serial->setStopBits(m_stopBits == sbTwoStopBits ? QSerialPort::TwoStop : QSerialPort::OneStop)
        && m_serial->setFlowControl(QSerialPort::NoFlowControl);
    if (!ok)
        fail(tr("%1 (%2): line settings refused: %3").arg(m_port, device, m_serial->errorString()));
    // Linux has no DTR input handshake: DTR simply stays raised while the port is open.
    // A line without modem control (a pseudo-terminal) refuses both requests; that is fine.
    m_serial->setDataTerminalReady(true);
    m_serial->setRequestToSend(false);
    m_serial->clearError();
    m_status = tr("%1: %2").arg(m_port, device);
}

void TComPort::Close()
{
    if (m_serial->isOpen())
        m_serial->close();
#ifdef Q_OS_UNIX
    if (m_lockFd >= 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
#endif
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
    if (Connected() && directions && !m_serial->clear(directions))
        throw EComPort(m_serial->errorString().toStdString());
}

int TComPort::Read(char *buffer, int count)
{
    const qint64 n = m_serial->read(buffer, count);
    return n < 0 ? 0 : int(n);
}

int TComPort::WriteCh(char c)
{
    if (!Connected())
        return 0;
    return m_serial->write(&c, 1) == 1 ? 1 : 0;
}

void TComPort::onReadyRead()
{
    const qint64 waiting = m_serial->bytesAvailable();
    if (waiting > 0)
        emit RxChar(int(std::min<qint64>(waiting, INT_MAX)));
}

void TComPort::onError(QSerialPort::SerialPortError error)
{
    // A hung-up pseudo-terminal reports ReadError over and over while staying "open"; an
    // unplugged adapter reports a resource or not-found error. Either way the device is gone:
    // close at once, which also stops the flood.
    const bool gone = error == QSerialPort::ReadError || error == QSerialPort::ResourceError
        || error == QSerialPort::DeviceNotFoundError;
    if (!gone || !Connected())
        return;
    m_status = tr("%1: the device went away (%2)").arg(m_port, m_serial->errorString());
    Close();
    emit DeviceLost();
}
