// The serial-port component against real pseudo-terminals: which device a port name opens,
// the line settings it opens with, exclusive use, what is read and written, and a device that
// goes away while open.
#include "platform/ComPort.h"
#include "Fixtures.h"
#include "PtyFixture.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <termios.h>

class TestComPort : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void deviceFor_data();
    void deviceFor();
    void opensLinkInWorkingDirectory();
    void openFailures_data();
    void openFailures();
    void secondOpenIsRefused();
    void lineSettingsApplied_data();
    void lineSettingsApplied();
    void readsWhatWaitsAndWritesInOrder();
    void clearBufferDropsWaitingBytes();
    void deviceGoingAwayClosesPort();

private:
    std::unique_ptr<WorkingFolder> m_folder;
};

void TestComPort::init()
{
    m_folder = std::make_unique<WorkingFolder>();
    QVERIFY(m_folder->isValid());
}

void TestComPort::cleanup()
{
    m_folder.reset();
}

void TestComPort::deviceFor_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("device");   // "./" stands for the working directory
    QTest::newRow("link in the working directory") << "COM1" << QStringList{"COM1", "/dev/ttyUSB0"} << "./COM1";
    QTest::newRow("USB adapter first") << "COM1" << QStringList{"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0"} << "/dev/ttyUSB0";
    QTest::newRow("then ACM") << "COM3" << QStringList{"/dev/ttyACM2", "/dev/ttyS2"} << "/dev/ttyACM2";
    QTest::newRow("then the serial port") << "COM2" << QStringList{"/dev/ttyS1"} << "/dev/ttyS1";
    QTest::newRow("numbers count from 1") << "COM12" << QStringList{"/dev/ttyUSB11", "/dev/ttyUSB12"} << "/dev/ttyUSB11";
    QTest::newRow("nothing there") << "COM1" << QStringList{"/dev/ttyUSB1"} << "";
    QTest::newRow("COM0 is no number of a port") << "COM0" << QStringList{"/dev/ttyUSB0"} << "";
    QTest::newRow("empty port text") << "COM" << QStringList{"/dev/ttyS0"} << "";
    QTest::newRow("not a number") << "COMx" << QStringList{"/dev/ttyS0"} << "";
    QTest::newRow("signed number") << "COM+1" << QStringList{"/dev/ttyS0"} << "";
    QTest::newRow("link named by any text") << "COMbench" << QStringList{"COMbench"} << "./COMbench";
    QTest::newRow("a path stands as it is") << "/dev/pts/7" << QStringList{} << "/dev/pts/7";
}

void TestComPort::deviceFor()
{
    QFETCH(QString, port);
    QFETCH(QStringList, existing);
    QFETCH(QString, device);
    if (device.startsWith(QLatin1String("./")))
        device = QDir::current().absoluteFilePath(device.mid(2));
    QCOMPARE(TComPort::DeviceFor(port, [&](const QString &p) { return existing.contains(p); }), device);
}

void TestComPort::opensLinkInWorkingDirectory()
{
    Pty device;
    QVERIFY(QFile::link(device.slavePath(), "COM1"));
    TComPort port;
    port.SetPort("COM1");
    port.SetDataBits(dbEight);
    port.Open();
    QVERIFY(port.Connected());
    // the user can see which device was opened
    QVERIFY2(port.Status().contains(QDir::current().absoluteFilePath("COM1")), qPrintable(port.Status()));
    port.Close();
    QVERIFY(!port.Connected());
}

void TestComPort::openFailures_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no device") << "COMnothing" << "no such device";
    QTest::newRow("link to nothing") << "COM7" << "COM7";
    QTest::newRow("not a terminal") << "COMfile" << "COMfile";
}

void TestComPort::openFailures()
{
    QFETCH(QString, port);
    QFETCH(QString, reason);
    QVERIFY(QFile::link("/nonexistent/tty", "COM7"));
    QFile plain("COMfile");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();

    TComPort com;
    com.SetPort(port);
    com.SetDataBits(dbEight);
    QVERIFY_THROWS_EXCEPTION(EComPort, com.Open());
    QVERIFY(!com.Connected());
    QVERIFY2(com.Status().contains(reason), qPrintable(com.Status()));
}

void TestComPort::secondOpenIsRefused()
{
    Pty device;
    TComPort first;
    first.SetPort(device.slavePath());
    first.SetDataBits(dbEight);
    first.Open();
    TComPort second;
    second.SetPort(device.slavePath());
    second.SetDataBits(dbEight);
    QVERIFY_THROWS_EXCEPTION(EComPort, second.Open());
    QVERIFY(!second.Connected());
    QVERIFY(first.Connected());
    first.Close();
    second.Open();   // free again once the first has let go
    QVERIFY(second.Connected());
}

void TestComPort::lineSettingsApplied_data()
{
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<int>("speed");
    QTest::addColumn<bool>("twoStops");
    QTest::newRow("19200, one stop bit") << int(br19200) << int(sbOneStopBit) << int(B19200) << false;
    QTest::newRow("9600, two stop bits") << int(br9600) << int(sbTwoStopBits) << int(B9600) << true;
    QTest::newRow("1200") << int(br1200) << int(sbOneStopBit) << int(B1200) << false;
}

void TestComPort::lineSettingsApplied()
{
    QFETCH(int, rate);
    QFETCH(int, stopBits);
    QFETCH(int, speed);
    QFETCH(bool, twoStops);
    Pty device;
    TComPort port;
    port.SetPort(device.slavePath());
    port.SetBaudRate(TBaudRate(rate));
    port.SetStopBits(TStopBits(stopBits));
    // a pseudo-terminal keeps speed and stop bits but always carries 8 bits without parity
    port.SetDataBits(dbEight);
    port.Open();   // DTR and RTS are refused by a pseudo-terminal: that is no failure

    termios t{};
    QCOMPARE(tcgetattr(device.slaveFd(), &t), 0);
    QCOMPARE(int(cfgetispeed(&t)), speed);
    QCOMPARE(bool(t.c_cflag & CSTOPB), twoStops);
    QCOMPARE(t.c_iflag & (IXON | IXOFF), tcflag_t(0));
    QCOMPARE(t.c_cflag & CRTSCTS, tcflag_t(0));
}

void TestComPort::readsWhatWaitsAndWritesInOrder()
{
    Pty device;
    TComPort port;
    port.SetPort(device.slavePath());
    port.SetDataBits(dbEight);
    port.Open();
    QSignalSpy events(&port, &TComPort::RxChar);
    QVERIFY(device.write(QByteArray("A\0B\r", 4)));
    QTRY_VERIFY(!events.isEmpty());
    const int count = events.first().at(0).toInt();
    QVERIFY(count > 0 && count <= 4);
    char buffer[16];
    QByteArray got;
    QTRY_VERIFY((got += QByteArray(buffer, port.Read(buffer, sizeof buffer))).size() == 4);
    QCOMPARE(got, QByteArray("A\0B\r", 4));

    for (char c : {char(1), char(0x25), char(0x63), char(0x5A)})
        QCOMPARE(port.WriteCh(c), 1);
    QByteArray sent;
    QTRY_COMPARE((sent += device.read(20)), QByteArray("\x01\x25\x63\x5A"));
    port.Close();
    QCOMPARE(port.WriteCh(0x10), 0);
}

void TestComPort::clearBufferDropsWaitingBytes()
{
    Pty device;
    TComPort port;
    port.SetPort(device.slavePath());
    port.SetDataBits(dbEight);
    port.Open();
    QVERIFY(device.write("stale bytes\r"));
    QTest::qWait(50);
    port.ClearBuffer(true, true);
    QSignalSpy events(&port, &TComPort::RxChar);
    QVERIFY(device.write("new"));
    QTRY_VERIFY(!events.isEmpty());
    char buffer[64];
    QByteArray got;
    QTRY_VERIFY((got += QByteArray(buffer, port.Read(buffer, sizeof buffer))).size() >= 3);
    QCOMPARE(got, QByteArray("new"));
}

void TestComPort::deviceGoingAwayClosesPort()
{
    auto device = std::make_unique<Pty>();
    TComPort port;
    port.SetPort(device->slavePath());
    port.SetDataBits(dbEight);
    port.Open();
    QSignalSpy lost(&port, &TComPort::DeviceLost);
    QSignalSpy events(&port, &TComPort::RxChar);
    QVERIFY(device->write("V001"));
    QTRY_VERIFY(!events.isEmpty());
    device.reset();   // the device hangs up: both sides of the line are gone

    QTRY_COMPARE(lost.size(), 1);
    QVERIFY(!port.Connected());
    QVERIFY(port.Status().contains(QLatin1String("went away")));
    // closed, so nothing keeps reporting: no further signal however long we wait
    const int eventsBefore = events.size();
    QTest::qWait(200);
    QCOMPARE(lost.size(), 1);
    QCOMPARE(events.size(), eventsBefore);
}

QTEST_GUILESS_MAIN(TestComPort)
#include "tst_comport.moc"
