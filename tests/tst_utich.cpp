// The byte-string routines, each checked against an exactly sized buffer so that a write past
// the room the caller must provide shows up under AddressSanitizer.
#include "acquisition/Utich.h"

#include <QtTest>

#include <cstring>
#include <memory>

class TestUtich : public QObject
{
    Q_OBJECT

private slots:
    void appendChar_data();
    void appendChar();
    void copyRange_data();
    void copyRange();
    void findChar_data();
    void findChar();
    void removeChar_data();
    void removeChar();
};

void TestUtich::appendChar_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("ch");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << QByteArray() << 'V' << QByteArray("V");
    QTest::newRow("after V0") << QByteArray("V0") << '1' << QByteArray("V01");
    QTest::newRow("NUL changes nothing") << QByteArray("ab") << '\0' << QByteArray("ab");
    QTest::newRow("high byte") << QByteArray("x") << char(0xB0) << QByteArray("x\xB0");
}

void TestUtich::appendChar()
{
    QFETCH(QByteArray, text);
    QFETCH(char, ch);
    QFETCH(QByteArray, expected);
    // exactly length + 2 bytes, the room the routine needs
    const size_t room = size_t(text.size()) + 2;
    std::unique_ptr<char[]> buffer(new char[room]);
    std::memcpy(buffer.get(), text.constData(), size_t(text.size()) + 1);
    AppendChar(buffer.get(), ch);
    QCOMPARE(QByteArray(buffer.get()), expected);
    QCOMPARE(buffer[room - 1], '\0');
}

void TestUtich::copyRange_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("result");
    QTest::newRow("value text") << QByteArray("V00123") << 1 << 6 << 0 << QByteArray("00123") << 5;
    QTest::newRow("NUL inside the range") << QByteArray("A7\0\0\0\0", 6) << 1 << 6 << 0 << QByteArray("7") << 5;
    QTest::newRow("from after to") << QByteArray("ABCDEF") << 3 << 2 << 0 << QByteArray() << 0;
    QTest::newRow("to 0") << QByteArray("ABCDEF") << 0 << 0 << 0 << QByteArray() << 0;
    QTest::newRow("from equals to") << QByteArray("ABCDEF") << 2 << 2 << 0 << QByteArray() << 0;
    QTest::newRow("middle") << QByteArray("ABCDEF") << 2 << 5 << 0 << QByteArray("CDE") << 3;
    QTest::newRow("negative limit") << QByteArray("ABCDEF") << 1 << 4 << -1 << QByteArray("BCD") << 3;
    QTest::newRow("limit 4") << QByteArray("ABCDEF") << 0 << 6 << 4 << QByteArray("ABC") << 3;
    QTest::newRow("limit 7") << QByteArray("ABCDEF") << 0 << 6 << 7 << QByteArray("ABCDEF") << 6;
    QTest::newRow("limit just fits") << QByteArray("ABCDEF") << 0 << 3 << 4 << QByteArray("ABC") << 3;
    QTest::newRow("limit 1") << QByteArray("ABCDEF") << 0 << 6 << 1 << QByteArray() << 0;
    QTest::newRow("limit 2 from 3") << QByteArray("ABCDEF") << 3 << 6 << 2 << QByteArray("D") << 1;
}

void TestUtich::copyRange()
{
    QFETCH(QByteArray, source);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, limit);
    QFETCH(QByteArray, expected);
    QFETCH(int, result);

    // source readable up to to - 1 only; dest exactly as large as the caller must make it
    const int sourceSize = std::max(to, 1);
    std::unique_ptr<char[]> src(new char[size_t(sourceSize)]);
    std::memcpy(src.get(), source.constData(), size_t(std::min<int>(sourceSize, source.size())));
    int room = std::max(to - from + 1, 1);
    if (limit > 0)
        room = std::min(room, limit);
    std::unique_ptr<char[]> dest(new char[size_t(room)]);
    std::memset(dest.get(), 'x', size_t(room));

    QCOMPARE(CopyRange(dest.get(), src.get(), from, to, limit), result);
    QCOMPARE(QByteArray(dest.get()), expected);
}

void TestUtich::findChar_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("ch");
    QTest::addColumn<int>("index");
    QTest::newRow("A in V1A2") << QByteArray("V1A2") << 'A' << 2;
    QTest::newRow("P not in V1A2") << QByteArray("V1A2") << 'P' << -1;
    QTest::newRow("first of two") << QByteArray("VAV") << 'V' << 0;
    QTest::newRow("last character") << QByteArray("abc") << 'c' << 2;
    QTest::newRow("empty string") << QByteArray() << 'V' << -1;
    QTest::newRow("NUL never found") << QByteArray("abc") << '\0' << -1;
    QTest::newRow("case matters") << QByteArray("v1") << 'V' << -1;
}

void TestUtich::findChar()
{
    QFETCH(QByteArray, text);
    QFETCH(char, ch);
    QFETCH(int, index);
    QCOMPARE(FindChar(text.constData(), ch), index);
}

void TestUtich::removeChar_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<char>("ch");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("carriage returns") << QByteArray("a\rb\r") << '\r' << QByteArray("ab");
    QTest::newRow("only carriage returns") << QByteArray("\r\r\r") << '\r' << QByteArray();
    QTest::newRow("order kept") << QByteArray("xaxbxcx") << 'x' << QByteArray("abc");
    QTest::newRow("nothing to remove") << QByteArray("abc") << 'z' << QByteArray("abc");
    QTest::newRow("NUL changes nothing") << QByteArray("abc") << '\0' << QByteArray("abc");
    QTest::newRow("empty string") << QByteArray() << 'x' << QByteArray();
}

void TestUtich::removeChar()
{
    QFETCH(QByteArray, text);
    QFETCH(char, ch);
    QFETCH(QByteArray, expected);
    std::unique_ptr<char[]> buffer(new char[size_t(text.size()) + 1]);
    std::memcpy(buffer.get(), text.constData(), size_t(text.size()) + 1);
    QCOMPARE(RemoveChar(buffer.get(), ch), buffer.get());
    QCOMPARE(QByteArray(buffer.get()), expected);
}

QTEST_APPLESS_MAIN(TestUtich)
#include "tst_utich.moc"
