// Decoding of single lines in both framings: which readings a line carries, scaled, with their
// needle positions, and which status-bar panels show it.
#include "acquisition/Decoder.h"

#include <QtTest>

#include <limits>

class TestDecoder : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void multipliersReadAtEveryCall();
    void meterPosition_data();
    void meterPosition();
};

void TestDecoder::lines_data()
{
    QTest::addColumn<int>("singlePackets");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("tags");            // channels of the readings, in order
    QTest::addColumn<QList<double>>("values");       // scaled values (VMult 0.1, others 1)
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<int>("linePanel");
    QTest::addColumn<bool>("packet");

    using D = QList<double>;
    using I = QList<int>;
    // single-packet framing
    QTest::newRow("S: V scaled") << 1 << QByteArray("V00123") << QByteArray("V") << D{12.3} << I{12} << 1 << false;
    QTest::newRow("S: A") << 1 << QByteArray("A00045") << QByteArray("A") << D{45} << I{45} << 2 << false;
    QTest::newRow("S: R") << 1 << QByteArray("R01800") << QByteArray("R") << D{1800} << I{1800} << 3 << false;
    QTest::newRow("S: C") << 1 << QByteArray("C00025") << QByteArray("C") << D{25} << I{25} << 4 << false;
    QTest::newRow("S: lower case") << 1 << QByteArray("v00123") << QByteArray() << D{} << I{} << -1 << false;
    QTest::newRow("S: short value") << 1 << QByteArray("A12") << QByteArray("A") << D{12} << I{12} << 2 << false;
    QTest::newRow("S: tag alone") << 1 << QByteArray("A") << QByteArray("A") << D{0} << I{0} << 2 << false;
    QTest::newRow("S: space and point") << 1 << QByteArray("A 12.5") << QByteArray("A") << D{12.5} << I{12} << 2 << false;
    QTest::newRow("S: negative truncates up") << 1 << QByteArray("A-01.5") << QByteArray("A") << D{-1.5} << I{-1} << 2 << false;
    QTest::newRow("S: only five characters") << 1 << QByteArray("A123456") << QByteArray("A") << D{12345} << I{12345} << 2 << false;
    QTest::newRow("S: P packet") << 1 << QByteArray("P12345") << QByteArray() << D{} << I{} << -1 << true;
    QTest::newRow("S: P later in the line") << 1 << QByteArray("xP1") << QByteArray() << D{} << I{} << -1 << false;
    QTest::newRow("S: empty line") << 1 << QByteArray() << QByteArray() << D{} << I{} << -1 << false;
    QTest::newRow("S: multi-field line") << 1 << QByteArray("V00123A00045") << QByteArray("V") << D{12.3} << I{12} << 1 << false;
    QTest::newRow("S: overflow") << 1 << QByteArray("A9e999") << QByteArray("A")
                                 << D{std::numeric_limits<double>::infinity()} << I{std::numeric_limits<int>::max()} << 2 << false;
    // multi-field framing
    QTest::newRow("M: four fields") << 0 << QByteArray("V00123A00045R01800C00025") << QByteArray("VARC")
                                    << D{12.3, 45, 1800, 25} << I{12, 45, 1800, 25} << 6 << false;
    QTest::newRow("M: order V A R C") << 0 << QByteArray("A00045V00123") << QByteArray("VA")
                                      << D{12.3, 45} << I{12, 45} << 6 << false;
    QTest::newRow("M: first occurrence only") << 0 << QByteArray("V00010V00020") << QByteArray("V") << D{10 * 0.1} << I{1} << 6 << false;
    QTest::newRow("M: value runs into a tag") << 0 << QByteArray("V12A34") << QByteArray("VA")
                                              << D{12 * 0.1, 34} << I{1, 34} << 6 << false;
    QTest::newRow("M: tag ends the line") << 0 << QByteArray("xxC") << QByteArray("C") << D{0} << I{0} << 6 << false;
    QTest::newRow("M: empty line") << 0 << QByteArray() << QByteArray() << D{} << I{} << 6 << false;
    QTest::newRow("M: P packet") << 0 << QByteArray("P12345") << QByteArray() << D{} << I{} << 6 << true;
    QTest::newRow("M: P with readings") << 0 << QByteArray("R00007P1") << QByteArray("R") << D{7} << I{7} << 6 << true;
    QTest::newRow("M: lower-case tags") << 0 << QByteArray("v1a2r3c4p5") << QByteArray() << D{} << I{} << 6 << false;
    // neither framing
    QTest::newRow("damaged switch") << 2 << QByteArray("V00123P1") << QByteArray() << D{} << I{} << -1 << false;
    QTest::newRow("damaged switch 255") << 255 << QByteArray("V00123") << QByteArray() << D{} << I{} << -1 << false;
}

void TestDecoder::lines()
{
    QFETCH(int, singlePackets);
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, tags);
    QFETCH(QList<double>, values);
    QFETCH(QList<int>, positions);
    QFETCH(int, linePanel);
    QFETCH(bool, packet);

    TConfigData config;
    config.SetV(0, 0, 0.1, 0);
    config.SetA(0, 0, 1.0, 0);
    config.SetR(0, 0, 1.0, 0);
    config.SetC(0, 0, 1.0, 0);
    config.SetSinglePackets(uint8_t(singlePackets));

    TDecodedLine out;
    DecodeLine(line.constData(), config, out);
    QByteArray gotTags;
    QList<double> gotValues;
    QList<int> gotPositions;
    for (int i = 0; i < out.ReadingCount; ++i) {
        gotTags += ChannelBindings[out.Readings[i].Channel].Tag;
        gotValues += out.Readings[i].Value;
        gotPositions += out.Readings[i].MeterPosition;
    }
    QCOMPARE(gotTags, tags);
    QCOMPARE(gotValues, values);
    QCOMPARE(gotPositions, positions);
    QCOMPARE(out.LinePanel, linePanel);
    QCOMPARE(out.ShowsPacket, packet);
}

void TestDecoder::multipliersReadAtEveryCall()
{
    TConfigData config;
    config.SetSinglePackets(1);
    TDecodedLine out;
    config.SetR(0, 0, 2.0, 0);
    DecodeLine("R00010", config, out);
    QCOMPARE(out.Readings[0].Value, 20.0);
    config.SetR(0, 0, -0.5, 0);
    DecodeLine("R00010", config, out);
    QCOMPARE(out.Readings[0].Value, -5.0);
    config.SetSinglePackets(0);
    DecodeLine("R00010", config, out);
    QCOMPARE(out.Framing, TFraming::MultiField);
    // an all-zero record scales everything to 0, and 0 times infinity is no number
    TConfigData zero;
    DecodeLine("V9e999", zero, out);
    QCOMPARE(out.ReadingCount, 1);
    QVERIFY(std::isnan(out.Readings[0].Value));
    QCOMPARE(out.Readings[0].MeterPosition, 0);
}

void TestDecoder::meterPosition_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("position");
    QTest::newRow("truncates down") << 37.9 << 37;
    QTest::newRow("truncates toward zero") << -1.5 << -1;
    QTest::newRow("largest int") << 2147483647.0 << 2147483647;
    QTest::newRow("beyond int") << 1e12 << 2147483647;
    QTest::newRow("smallest int") << -2147483648.0 << int(-2147483647 - 1);
    QTest::newRow("below int") << -1e300 << int(-2147483647 - 1);
    QTest::newRow("infinity") << inf << 2147483647;
    QTest::newRow("-infinity") << -inf << int(-2147483647 - 1);
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestDecoder::meterPosition()
{
    QFETCH(double, value);
    QFETCH(int, position);
    QCOMPARE(MeterPositionOf(value), position);
}

QTEST_APPLESS_MAIN(TestDecoder)
#include "tst_decoder.moc"
