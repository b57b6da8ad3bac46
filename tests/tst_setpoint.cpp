// The set-point slider against a real pseudo-terminal: what the device receives for each key,
// drag and position, and nothing while the port is closed.
#include "platform/ComPort.h"
#include "platform/iSlider.h"
#include "ui/FormMain.h"
#include "PtyFixture.h"

#include <QtTest>

#include <memory>

class TestSetPoint : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void keys_data();
    void keys();
    void positions_data();
    void positions();
    void slowDragRepeatsByte();
    void quickKeysArriveInOrder();
    void nothingWithPortClosed();

private:
    std::unique_ptr<Pty> m_device;
    std::unique_ptr<TFormMain> m_form;
};

void TestSetPoint::init()
{
    m_device = std::make_unique<Pty>();
    m_form = std::make_unique<TFormMain>();
    FormMain = m_form.get();
    m_form->CP1->SetPort(m_device->slavePath());
    m_form->CP1->SetDataBits(dbEight);
    m_form->CP1->Open();
    m_form->show();
    m_form->S1->setFocus();
}

void TestSetPoint::cleanup()
{
    FormMain = nullptr;
    m_form.reset();
    m_device.reset();
}

void TestSetPoint::keys_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("Right from 0") << 0.0 << int(Qt::Key_Right) << QByteArray("\x01");
    QTest::newRow("End reaches 100: nothing") << 1.0 << int(Qt::Key_End) << QByteArray();
    QTest::newRow("End at 100: nothing") << 100.0 << int(Qt::Key_End) << QByteArray();
    QTest::newRow("Page Down from 100") << 100.0 << int(Qt::Key_PageDown) << QByteArray("\x5A");
    QTest::newRow("Page Up from 95 clamps to 100") << 95.0 << int(Qt::Key_PageUp) << QByteArray();
    QTest::newRow("Left to 0: nothing") << 1.0 << int(Qt::Key_Left) << QByteArray();
    QTest::newRow("Up from 37.9 truncates") << 37.9 << int(Qt::Key_Up) << QByteArray("\x26");
    QTest::newRow("Down from 99.5") << 99.5 << int(Qt::Key_Down) << QByteArray("\x62");
    QTest::newRow("Home to 0: nothing") << 50.0 << int(Qt::Key_Home) << QByteArray();
}

void TestSetPoint::keys()
{
    QFETCH(double, start);
    QFETCH(int, key);
    QFETCH(QByteArray, sent);
    m_form->S1->SetPosition(start);
    m_device->read(100);   // what the start position sent is not this row's business
    QTest::keyClick(m_form->S1, Qt::Key(key));
    QCOMPARE(m_device->read(200), sent);
}

void TestSetPoint::positions_data()
{
    QTest::addColumn<double>("position");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("99.8") << 99.8 << QByteArray("\x63");
    QTest::newRow("0.4") << 0.4 << QByteArray();
    QTest::newRow("1") << 1.0 << QByteArray("\x01");
    QTest::newRow("50.99") << 50.99 << QByteArray("\x32");
    QTest::newRow("100") << 100.0 << QByteArray();
}

void TestSetPoint::positions()
{
    QFETCH(double, position);
    QFETCH(QByteArray, sent);
    m_form->S1->SetPosition(position);
    QCOMPARE(m_device->read(200), sent);
}

void TestSetPoint::slowDragRepeatsByte()
{
    m_form->S1->SetPosition(37.0);
    m_device->read(100);
    const QPoint from(100, 20);
    QTest::mousePress(m_form->S1, Qt::LeftButton, Qt::NoModifier, from);
    for (int dx = 1; dx <= 3; ++dx)
        QTest::mouseMove(m_form->S1, from + QPoint(dx, 0));
    QTest::mouseRelease(m_form->S1, Qt::LeftButton, Qt::NoModifier, from + QPoint(3, 0));
    // each pixel moves the position by a fraction of a unit: 37.x is sent again before 38
    const QByteArray got = m_device->read(200);
    QVERIFY2(got.size() == 3, got.toHex().constData());
    QCOMPARE(got.front(), char(0x25));
    QCOMPARE(got.back(), char(0x26));
}

void TestSetPoint::quickKeysArriveInOrder()
{
    QByteArray expected;
    for (int i = 1; i <= 60; ++i) {
        QTest::keyClick(m_form->S1, Qt::Key_Right);
        expected += char(i);
    }
    QByteArray got;
    QTRY_COMPARE((got += m_device->read(50)), expected);
}

void TestSetPoint::nothingWithPortClosed()
{
    m_form->CP1->Close();
    QTest::keyClick(m_form->S1, Qt::Key_Right);
    m_form->S1->SetPosition(42.0);
    QCOMPARE(m_device->read(200), QByteArray());
    QCOMPARE(m_form->S1->Position(), 42.0);
}

QTEST_MAIN(TestSetPoint)
#include "tst_setpoint.moc"
