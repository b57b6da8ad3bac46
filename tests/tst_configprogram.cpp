// Applying the configuration: the choice mappings, the port and its status texts and message
// box, the meter ranges and the sample interval, against real pseudo-terminals as devices.
#include "acquisition/RxLine.h"
#include "acquisition/Stats.h"
#include "config/ConfigData.h"
#include "config/FormConfig.h"
#include "config/LineSettings.h"
#include "platform/ComPort.h"
#include "platform/FreeButton.h"
#include "platform/StatusBar.h"
#include "platform/VrMeter.h"
#include "ui/FormMain.h"
#include "Fixtures.h"
#include "ModalBox.h"
#include "PtyFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <termios.h>

class TestConfigProgram : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void mappings_data();
    void mappings();
    void pollingInterval_data();
    void pollingInterval();
    void portStatus_data();
    void portStatus();
    void reopensAndPurgesEveryTime();
    void noPortClosesOpenPort();
    void lineSettingsFromRecord_data();
    void lineSettingsFromRecord();
    void meterRanges_data();
    void meterRanges();
    void sampleInterval_data();
    void sampleInterval();
    void sameIntervalKeepsTimerRunning();
    void deviceGoingAwayMidLine();
    void configButtonAppliesHoweverDialogCloses_data();
    void configButtonAppliesHoweverDialogCloses();

private:
    // A pseudo-terminal linked as COM1 in the working directory, and a record that opens it.
    void linkDevice(const Pty &device);

    std::unique_ptr<WorkingFolder> m_folder;
    std::unique_ptr<TFormMain> m_form;
};

void TestConfigProgram::init()
{
    m_folder = std::make_unique<WorkingFolder>();
    QVERIFY(m_folder->isValid());
    ResetRecords();
    m_form = std::make_unique<TFormMain>();
    FormMain = m_form.get();
}

void TestConfigProgram::cleanup()
{
    FormMain = nullptr;
    m_form.reset();
    m_folder.reset();
}

void TestConfigProgram::linkDevice(const Pty &device)
{
    QVERIFY(QFile::link(device.slavePath(), "COM1"));
    ConfigData.SetPort("1");
    // all a pseudo-terminal carries: 8 data bits, no parity
    ConfigData.SetLine(0, 0, 1, 0);
}

void TestConfigProgram::mappings_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("parity");
    QTest::addColumn<int>("dataBits");
    QTest::addColumn<int>("stopBits");
    QTest::newRow("0") << 0 << int(br19200) << int(prNone) << int(dbSeven) << int(sbOneStopBit);
    QTest::newRow("1") << 1 << int(br9600) << int(prEven) << int(dbEight) << int(sbTwoStopBits);
    QTest::newRow("2") << 2 << int(br4800) << int(prOdd) << int(dbSeven) << int(sbOneStopBit);
    QTest::newRow("3") << 3 << int(br2400) << int(prNone) << int(dbSeven) << int(sbOneStopBit);
    QTest::newRow("4") << 4 << int(br1200) << int(prNone) << int(dbSeven) << int(sbOneStopBit);
    QTest::newRow("5") << 5 << int(br9600) << int(prNone) << int(dbSeven) << int(sbOneStopBit);
    QTest::newRow("-1") << -1 << int(br9600) << int(prNone) << int(dbSeven) << int(sbOneStopBit);
    QTest::newRow("most negative") << int(-2147483647 - 1) << int(br9600) << int(prNone) << int(dbSeven) << int(sbOneStopBit);
}

void TestConfigProgram::mappings()
{
    QFETCH(int, value);
    QFETCH(int, speed);
    QFETCH(int, parity);
    QFETCH(int, dataBits);
    QFETCH(int, stopBits);
    QCOMPARE(int(MapSpeed(value)), speed);
    QCOMPARE(int(MapParity(value)), parity);
    QCOMPARE(int(MapDataBits(value)), dataBits);
    QCOMPARE(int(MapStopBits(value)), stopBits);
}

void TestConfigProgram::pollingInterval_data()
{
    QTest::addColumn<int>("polling");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<int>("interval");
    const int ms[] = {1000, 2000, 5000, 10000, 30000, 60000};
    for (int i = 0; i < 6; ++i)
        QTest::addRow("%d", i) << i << true << ms[i];
    QTest::newRow("6") << 6 << false << 0;
    QTest::newRow("-1") << -1 << false << 0;
}

void TestConfigProgram::pollingInterval()
{
    QFETCH(int, polling);
    QFETCH(bool, taken);
    QFETCH(int, interval);
    int got = 0;
    QCOMPARE(PollingInterval(polling, got), taken);
    QCOMPARE(got, interval);
}

void TestConfigProgram::portStatus_data()
{
    QTest::addColumn<QByteArray>("port");
    QTest::addColumn<bool>("linked");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("box");
    QTest::newRow("no port") << QByteArray("0") << false << "COM0" << false << false;
    QTest::newRow("any text starting with 0") << QByteArray("05") << true << "COM05" << false << false;
    QTest::newRow("empty") << QByteArray() << false << "COM not opened" << false << true;
    QTest::newRow("no such device") << QByteArray("99") << false << "COM99 not opened" << false << true;
    QTest::newRow("opened") << QByteArray("1") << true << "COM1 Ok" << true << false;
}

void TestConfigProgram::portStatus()
{
    QFETCH(QByteArray, port);
    QFETCH(bool, linked);
    QFETCH(QString, status);
    QFETCH(bool, open);
    QFETCH(bool, box);

    Pty device;
    if (linked)
        linkDevice(device);
    ConfigData.SetPort(port.constData());
    ConfigData.SetV(5, 50, 1.0, 0);
    ConfigData.SetPolling(2);

    ModalBoxAnswerer answerer;
    m_form->ConfigProgram();

    QCOMPARE(m_form->SB1->PanelText(0), status);
    QVERIFY(!m_form->SB1->PanelToolTip(0).isEmpty());
    QCOMPARE(m_form->CP1->Connected(), open);
    QCOMPARE(answerer.boxes.size(), box ? 1 : 0);
    if (box) {
        QCOMPARE(answerer.boxes[0].title, QStringLiteral("ALT"));
        QCOMPARE(answerer.boxes[0].text, QStringLiteral("Cannot open COM port - Check configuration"));
        QCOMPARE(answerer.boxes[0].icon, QMessageBox::NoIcon);
        QCOMPARE(answerer.boxes[0].buttons, QStringList{"OK"});
    }
    // the meters and the interval are set whatever became of the port
    QCOMPARE(m_form->VMV->MinValue(), 5);
    QCOMPARE(m_form->VMV->MaxValue(), 50);
    QCOMPARE(m_form->TimerPolling->interval(), 5000);
}

void TestConfigProgram::reopensAndPurgesEveryTime()
{
    Pty device;
    linkDevice(device);
    ConfigData.SetV(0, 100, 1.0, 0);
    m_form->ConfigProgram();
    QVERIFY(m_form->CP1->Connected());
    QVERIFY(device.write("V00007\r"));
    QTRY_COMPARE(Stats.Count[chV], 1);

    // bytes that reach the line before the port is reopened are dropped by the purge
    QVERIFY(device.write("V00008\r"));
    m_form->ConfigProgram();
    QVERIFY(m_form->CP1->Connected());
    QTest::qWait(100);
    QCOMPARE(Stats.Count[chV], 1);
    QVERIFY(device.write("V00009\r"));
    QTRY_COMPARE(Stats.Count[chV], 2);
    QCOMPARE(Stats.Current[chV], 9.0);
}

void TestConfigProgram::noPortClosesOpenPort()
{
    Pty device;
    linkDevice(device);
    m_form->ConfigProgram();
    QVERIFY(m_form->CP1->Connected());
    ConfigData.SetPort("0");
    ModalBoxAnswerer answerer;
    m_form->ConfigProgram();
    QVERIFY(!m_form->CP1->Connected());
    QCOMPARE(m_form->SB1->PanelText(0), QStringLiteral("COM0"));
    QVERIFY(answerer.boxes.isEmpty());
}

void TestConfigProgram::lineSettingsFromRecord_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("stopBits");
    QTest::addColumn<int>("baud");
    QTest::addColumn<bool>("twoStops");
    QTest::newRow("19200, 1 stop bit") << 0 << 0 << int(B19200) << false;
    QTest::newRow("2400, 2 stop bits") << 3 << 1 << int(B2400) << true;
    QTest::newRow("speed -1 is 9600") << -1 << 0 << int(B9600) << false;
    QTest::newRow("speed 5 is 9600, stop bits -1 one") << 5 << -1 << int(B9600) << false;
}

void TestConfigProgram::lineSettingsFromRecord()
{
    QFETCH(int, speed);
    QFETCH(int, stopBits);
    QFETCH(int, baud);
    QFETCH(bool, twoStops);
    Pty device;
    linkDevice(device);
    ConfigData.SetLine(speed, 0, 1, stopBits);
    m_form->ConfigProgram();
    QVERIFY(m_form->CP1->Connected());
    termios t{};
    QCOMPARE(tcgetattr(device.slaveFd(), &t), 0);
    QCOMPARE(int(cfgetospeed(&t)), baud);
    QCOMPARE(bool(t.c_cflag & CSTOPB), twoStops);
}

void TestConfigProgram::meterRanges_data()
{
    QTest::addColumn<QList<int>>("record");        // VMin, VMax, AMin, AMax, RMin, RMax, CMin, CMax
    QTest::addColumn<int>("applications");
    QTest::addColumn<QList<int>>("ranges");        // VMV, VMA, VMR, VMC as min, max
    using I = QList<int>;
    QTest::newRow("above the range: max only")
        << I{200, 300, 0, 30, 0, 3000, -20, 120} << 1 << I{0, 300, 0, 30, 0, 3000, -20, 120};
    QTest::newRow("applied again: both")
        << I{200, 300, 0, 30, 0, 3000, -20, 120} << 2 << I{200, 300, 0, 30, 0, 3000, -20, 120};
    QTest::newRow("all-zero record")
        << I{0, 0, 0, 0, 0, 0, 0, 0} << 1 << I{0, 20, 0, 30, 0, 3000, 0, 120};
    QTest::newRow("minimum equal to maximum")
        << I{10, 10, 0, 30, 0, 3000, -20, 120} << 1 << I{10, 20, 0, 30, 0, 3000, -20, 120};
    QTest::newRow("reversed range")
        << I{20, 0, 50, 10, 0, 3000, -20, 120} << 1 << I{0, 20, 0, 10, 0, 3000, -20, 120};
    QTest::newRow("every meter new")
        << I{-5, 25, 1, 2, 100, 200, -50, 50} << 1 << I{-5, 25, 1, 2, 100, 200, -50, 50};
}

void TestConfigProgram::meterRanges()
{
    QFETCH(QList<int>, record);
    QFETCH(int, applications);
    QFETCH(QList<int>, ranges);
    ConfigData.SetPort("0");
    ConfigData.SetV(record[0], record[1], 1.0, 0);
    ConfigData.SetA(record[2], record[3], 1.0, 0);
    ConfigData.SetR(record[4], record[5], 1.0, 0);
    ConfigData.SetC(record[6], record[7], 1.0, 0);
    for (int i = 0; i < applications; ++i)
        m_form->ConfigProgram();
    const TVrMeter *meters[] = {m_form->VMV, m_form->VMA, m_form->VMR, m_form->VMC};
    QList<int> got;
    for (const TVrMeter *m : meters)
        got << m->MinValue() << m->MaxValue();
    QCOMPARE(got, ranges);
}

void TestConfigProgram::sampleInterval_data()
{
    QTest::addColumn<int>("polling");
    QTest::addColumn<int>("interval");
    QTest::newRow("0") << 0 << 1000;
    QTest::newRow("5") << 5 << 60000;
    QTest::newRow("6 leaves it") << 6 << 500;
    QTest::newRow("-1 leaves it") << -1 << 500;
}

void TestConfigProgram::sampleInterval()
{
    QFETCH(int, polling);
    QFETCH(int, interval);
    ConfigData.SetPort("0");
    ConfigData.SetPolling(polling);
    m_form->ConfigProgram();
    QCOMPARE(m_form->TimerPolling->interval(), interval);
    QVERIFY(!m_form->TimerPolling->isActive());   // never started or stopped here
}

void TestConfigProgram::sameIntervalKeepsTimerRunning()
{
    ConfigData.SetPort("0");
    ConfigData.SetPolling(0);
    m_form->ConfigProgram();
    m_form->TimerPolling->start();
    QTest::qWait(300);
    m_form->ConfigProgram();
    QVERIFY(m_form->TimerPolling->isActive());
    QVERIFY2(m_form->TimerPolling->remainingTime() <= 750,
             qPrintable(QString::number(m_form->TimerPolling->remainingTime())));
}

void TestConfigProgram::deviceGoingAwayMidLine()
{
    auto device = std::make_unique<Pty>();
    linkDevice(*device);
    ConfigData.SetV(0, 100, 1.0, 0);
    ModalBoxAnswerer answerer;
    m_form->ConfigProgram();
    QCOMPARE(m_form->SB1->PanelText(0), QStringLiteral("COM1 Ok"));
    QVERIFY(device->write("V00005\rV00"));
    QTRY_COMPARE(RxCount, 3);
    device.reset();

    QTRY_COMPARE(m_form->SB1->PanelText(0), QStringLiteral("COM1 not opened"));
    QVERIFY(!m_form->CP1->Connected());
    QVERIFY(answerer.boxes.isEmpty());   // no box: the recording goes on
    QCOMPARE(Stats.Count[chV], 1);
    QCOMPARE(QByteArray(RxLine), QByteArray("V00"));
    QVERIFY(m_form->SB1->PanelToolTip(0).contains(QLatin1String("went away")));
}

void TestConfigProgram::configButtonAppliesHoweverDialogCloses_data()
{
    QTest::addColumn<QString>("button");   // what closes the dialog
    QTest::newRow("Ok") << "FBOk";
    QTest::newRow("Cancel") << "FBAnnulla";
    QTest::newRow("close box") << "";
}

void TestConfigProgram::configButtonAppliesHoweverDialogCloses()
{
    QFETCH(QString, button);
    TConfigData saved;
    saved.SetPort("0");
    saved.SetPolling(3);
    saved.Save("Cfg");
    TFormConfig dialog;
    FormConfig = &dialog;

    bool wasModal = false;
    QTimer closer;
    connect(&closer, &QTimer::timeout, [&] {
        if (QApplication::activeModalWidget() != &dialog)
            return;
        wasModal = true;
        closer.stop();
        if (button.isEmpty())
            dialog.close();
        else
            QTest::mouseClick(dialog.findChild<TFreeButton *>(button), Qt::LeftButton);
    });
    closer.start(10);
    QTest::mouseClick(m_form->FreeButton1, Qt::LeftButton);
    FormConfig = nullptr;

    QVERIFY(wasModal);
    QVERIFY(!dialog.isVisible());
    // the record was loaded from the file at showing and applied after closing
    QCOMPARE(m_form->SB1->PanelText(0), QStringLiteral("COM0"));
    QCOMPARE(m_form->TimerPolling->interval(), 10000);
}

QTEST_MAIN(TestConfigProgram)
#include "tst_configprogram.moc"
