// The channel table: each channel's tag, multiplier, controls, chart channel and panel.
#include "acquisition/Channel.h"

#include <QtTest>

class TestChannel : public QObject
{
    Q_OBJECT

private slots:
    void bindings_data();
    void bindings();
};

void TestChannel::bindings_data()
{
    QTest::addColumn<int>("channel");
    QTest::addColumn<char>("tag");
    QTest::addColumn<double>("mult");
    QTest::addColumn<int>("dec");
    QTest::addColumn<QByteArray>("meter");
    QTest::addColumn<QByteArray>("enableBox");
    QTest::addColumn<int>("chartChannel");
    QTest::addColumn<int>("statusPanel");
    QTest::newRow("V") << int(chV) << 'V' << 1.5 << 0 << QByteArray("VMV") << QByteArray("PChV") << 0 << 1;
    QTest::newRow("A") << int(chA) << 'A' << 2.5 << 1 << QByteArray("VMA") << QByteArray("PChA") << 1 << 2;
    QTest::newRow("R") << int(chR) << 'R' << 3.5 << 2 << QByteArray("VMR") << QByteArray("PChR") << 2 << 3;
    QTest::newRow("C") << int(chC) << 'C' << 4.5 << 3 << QByteArray("VMC") << QByteArray("PChC") << 3 << 4;
}

void TestChannel::bindings()
{
    QFETCH(int, channel);
    QFETCH(char, tag);
    QFETCH(double, mult);
    QFETCH(int, dec);
    QFETCH(QByteArray, meter);
    QFETCH(QByteArray, enableBox);
    QFETCH(int, chartChannel);
    QFETCH(int, statusPanel);

    TConfigData record;
    record.SetV(0, 0, 1.5, 0);
    record.SetA(0, 0, 2.5, 1);
    record.SetR(0, 0, 3.5, 2);
    record.SetC(0, 0, 4.5, 3);

    const TChannelBinding &b = ChannelBindings[channel];
    QCOMPARE(int(b.Channel), channel);
    QCOMPARE(b.Tag, tag);
    QCOMPARE((record.*b.Mult)(), mult);
    QCOMPARE((record.*b.Dec)(), dec);
    QCOMPARE(QByteArray(b.Meter), meter);
    QCOMPARE(QByteArray(b.EnableBox), enableBox);
    QCOMPARE(b.ChartChannel, chartChannel);
    QCOMPARE(b.StatusPanel, statusPanel);
}

QTEST_APPLESS_MAIN(TestChannel)
#include "tst_channel.moc"
