// Receive line assembly: byte streams, split over events in any way, become the right lines,
// and nothing the line sends can overrun the receive line.
#include "acquisition/RxLine.h"

#include <QRandomGenerator>
#include <QtTest>

#include <cstring>

// Stands in for the decoder: takes each line whole, as the decoder takes it, and keeps it.
struct LineCollector
{
    QList<QByteArray> lines;
    void operator()()
    {
        char copy[kRxLineSize];
        const int32_t n = RxTakeLine(copy, kRxLineSize);
        lines.append(QByteArray(copy, n));
    }
};

class TestRxLine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void streams_data();
    void streams();
    void overlongLineKeepsWhatFits_data();
    void overlongLineKeepsWhatFits();
    void randomBytesNeverOverrun();
    void largeEventReadInChunks();
    void shortReadEndsEvent();
    void takeLineCutsToDestination();
};

void TestRxLine::init()
{
    RxLine[0] = '\0';
    RxCount = 0;
}

void TestRxLine::initTestCase()
{
    // the line is empty before anything has been received
    QCOMPARE(RxLine[0], '\0');
    QCOMPARE(RxCount, 0);
}

void TestRxLine::streams_data()
{
    QTest::addColumn<QList<QByteArray>>("events");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::addColumn<QByteArray>("rest");
    QTest::addColumn<int>("restCount");

    using L = QList<QByteArray>;
    QTest::newRow("two lines in one event")
        << L{"V00123\r\nA00045\r"} << L{"V00123", "A00045"} << QByteArray() << 0;
    QTest::newRow("split over three events")
        << L{"V00", "123\r\nA000", "45\r"} << L{"V00123", "A00045"} << QByteArray() << 0;
    QTest::newRow("one byte per event")
        << L{"V", "0", "1", "\r", "\n", "A", "2", "\x03"} << L{"V01", "A2"} << QByteArray() << 0;
    QTest::newRow("end of text") << L{"V00123\x03"} << L{"V00123"} << QByteArray() << 0;
    QTest::newRow("line feeds dropped anywhere")
        << L{"\nV001\n23\r"} << L{"V00123"} << QByteArray() << 0;
    QTest::newRow("empty line") << L{"\r"} << L{""} << QByteArray() << 0;
    QTest::newRow("CR then ETX") << L{"V00123\r\x03"} << L{"V00123", ""} << QByteArray() << 0;
    QTest::newRow("NUL counted, not kept")
        << L{QByteArray("V0\0" "0123\r", 8)} << L{"V00123"} << QByteArray() << 0;
    QTest::newRow("unfinished line stays")
        << L{"V00123\rA00"} << L{"V00123"} << QByteArray("A00") << 3;
    QTest::newRow("unfinished line with NUL")
        << L{QByteArray("A\0" "1", 3)} << L{} << QByteArray("A1") << 3;
    QTest::newRow("no event bytes") << L{""} << L{} << QByteArray() << 0;
}

void TestRxLine::streams()
{
    QFETCH(QList<QByteArray>, events);
    QFETCH(QList<QByteArray>, lines);
    QFETCH(QByteArray, rest);
    QFETCH(int, restCount);

    LineCollector parse;
    for (const QByteArray &event : events)
        RxAssemble(event.constData(), int32_t(event.size()), parse);
    QCOMPARE(parse.lines, lines);
    QCOMPARE(QByteArray(RxLine), rest);
    QCOMPARE(RxCount, restCount);
}

void TestRxLine::overlongLineKeepsWhatFits_data()
{
    QTest::addColumn<char>("filler");
    QTest::addColumn<QByteArray>("firstLine");
    QTest::newRow("printable") << 'x' << QByteArray(kRxLineSize - 1, 'x');
    QTest::newRow("NUL bytes") << '\0' << QByteArray();
}

void TestRxLine::overlongLineKeepsWhatFits()
{
    QFETCH(char, filler);
    QFETCH(QByteArray, firstLine);

    // 100 000 bytes without a terminator, delivered as a port delivers them, then a good line
    QByteArray stream(100000, filler);
    stream += "\rV00123\r";
    LineCollector parse;
    for (int at = 0; at < stream.size(); at += kRxChunkSize) {
        const int32_t n = int32_t(std::min<qsizetype>(kRxChunkSize, stream.size() - at));
        RxAssemble(stream.constData() + at, n, parse);
        QVERIFY(RxCount <= kRxLineSize - 1);
    }
    QCOMPARE(parse.lines, (QList<QByteArray>{firstLine, "V00123"}));
    QCOMPARE(RxCount, 0);
}

void TestRxLine::randomBytesNeverOverrun()
{
    // any byte in any split: the line and its count stay inside the buffer
    QRandomGenerator random(20261211);
    LineCollector parse;
    QByteArray event;
    for (int round = 0; round < 2000; ++round) {
        event.resize(random.bounded(1, 3 * kRxChunkSize));
        for (char &b : event)
            b = char(random.bounded(256) < 2 ? kCr : random.bounded(256));
        RxAssemble(event.constData(), int32_t(event.size()), parse);
        QVERIFY(RxCount >= 0 && RxCount <= kRxLineSize - 1);
        QVERIFY(int32_t(std::strlen(RxLine)) <= RxCount);
        parse.lines.clear();
    }
}

void TestRxLine::largeEventReadInChunks()
{
    QByteArray waiting;
    QList<QByteArray> expected;
    for (int i = 0; i < 1500; ++i) {
        const QByteArray line = "V" + QByteArray::number(10000 + i) + "A" + QByteArray::number(i);
        expected.append(line);
        waiting += line + "\r\n";
    }
    QVERIFY(waiting.size() > 10 * kRxChunkSize);

    qsizetype at = 0;
    QList<int> asked;
    auto read = [&](char *buffer, int32_t max) {
        asked.append(max);
        const qsizetype n = std::min<qsizetype>(max, waiting.size() - at);
        std::memcpy(buffer, waiting.constData() + at, size_t(n));
        at += n;
        return n;
    };
    LineCollector parse;
    RxReceive(int32_t(waiting.size()), read, parse);

    QCOMPARE(at, waiting.size());
    QCOMPARE(parse.lines, expected);
    for (int max : asked)
        QVERIFY(max <= kRxChunkSize);
}

void TestRxLine::shortReadEndsEvent()
{
    // the port hands over fewer bytes than it reported: take those and wait for the next event
    int calls = 0;
    auto read = [&](char *buffer, int32_t) {
        ++calls;
        std::memcpy(buffer, "V1\rA", 4);
        return 4;
    };
    LineCollector parse;
    RxReceive(5000, read, parse);
    QCOMPARE(calls, 1);
    QCOMPARE(parse.lines, QList<QByteArray>{"V1"});
    QCOMPARE(QByteArray(RxLine), QByteArray("A"));

    auto nothing = [&](char *, int32_t) { ++calls; return 0; };
    RxReceive(10, nothing, parse);
    QCOMPARE(calls, 2);
}

void TestRxLine::takeLineCutsToDestination()
{
    const QByteArray longLine(600, 'R');
    RxAssemble(longLine.constData(), int32_t(longLine.size()), [] {});
    QCOMPARE(RxCount, 600);

    char copy[256];
    QCOMPARE(RxTakeLine(copy, int32_t(sizeof copy)), 255);
    QCOMPARE(QByteArray(copy), QByteArray(255, 'R'));
    QCOMPARE(RxLine[0], '\0');
    QCOMPARE(RxCount, 0);
}

QTEST_APPLESS_MAIN(TestRxLine)
#include "tst_rxline.moc"
