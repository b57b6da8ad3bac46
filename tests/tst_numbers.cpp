// Numbers read from value texts and written to the statistics panel: the C library's rules,
// with a decimal point whatever the locale.
#include "acquisition/NumberText.h"
#include "acquisition/PanelText.h"
#include "LocaleFixture.h"

#include <QtTest>

#include <cmath>
#include <limits>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readDecimal_data();
    void readDecimal();
    void readInteger_data();
    void readInteger();
    void formatFixed_data();
    void formatFixed();
    void panelTexts_data();
    void panelTexts();
    void panelIgnoresOtherIndexes();

private:
    GermanLocale m_locale;
};

void TestNumbers::initTestCase()
{
    // every case below runs with a decimal comma in the process's locale
    QVERIFY2(m_locale.enter(), "cannot compile the de_DE locale (Debian package: locales)");
    QCOMPARE(std::strtod("12.5", nullptr), 12.0);
}

void TestNumbers::readDecimal_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("digits") << QByteArray("00123") << 123.0;
    QTest::newRow("point") << QByteArray("12.5") << 12.5;
    QTest::newRow("leading space") << QByteArray(" 12.5") << 12.5;
    QTest::newRow("tab, vertical tab, form feed") << QByteArray("\t\v\f7") << 7.0;
    QTest::newRow("minus") << QByteArray("-01.5") << -1.5;
    QTest::newRow("plus") << QByteArray("+3") << 3.0;
    QTest::newRow("point first") << QByteArray(".5") << 0.5;
    QTest::newRow("point last") << QByteArray("5.") << 5.0;
    QTest::newRow("exponent") << QByteArray("2.5e1") << 25.0;
    QTest::newRow("upper-case exponent with sign") << QByteArray("1E-2") << 0.01;
    QTest::newRow("exponent without digits") << QByteArray("7e") << 7.0;
    QTest::newRow("exponent sign without digits") << QByteArray("7e+x") << 7.0;
    QTest::newRow("stops at a second point") << QByteArray("1.2.3") << 1.2;
    QTest::newRow("stops at a tag") << QByteArray("12A34") << 12.0;
    QTest::newRow("comma is no point") << QByteArray("1,5") << 1.0;
    QTest::newRow("empty") << QByteArray() << 0.0;
    QTest::newRow("letters") << QByteArray("abc") << 0.0;
    QTest::newRow("sign alone") << QByteArray("-") << 0.0;
    QTest::newRow("point alone") << QByteArray(".") << 0.0;
    QTest::newRow("sign and point") << QByteArray("-.e1") << 0.0;
    QTest::newRow("hexadecimal") << QByteArray("0x1A") << 0.0;
    QTest::newRow("upper-case hexadecimal") << QByteArray("0X1A") << 0.0;
    QTest::newRow("infinity") << QByteArray("inf") << 0.0;
    QTest::newRow("signed infinity") << QByteArray("-INF") << 0.0;
    QTest::newRow("not a number") << QByteArray("nan") << 0.0;
    QTest::newRow("overflow") << QByteArray("9e999") << inf;
    QTest::newRow("negative overflow") << QByteArray("-9e999") << -inf;
    QTest::newRow("underflow") << QByteArray("1e-999") << 0.0;
    QTest::newRow("correctly rounded") << QByteArray("0.1") << 0.1;
}

void TestNumbers::readDecimal()
{
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QCOMPARE(ReadDecimal(text.constData()), value);
}

void TestNumbers::readInteger_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("digits") << QByteArray("00123") << 123;
    QTest::newRow("leading white space") << QByteArray(" \t\n\v\f\r7") << 7;
    QTest::newRow("minus") << QByteArray("-42") << -42;
    QTest::newRow("plus") << QByteArray("+42") << 42;
    QTest::newRow("stops at a letter") << QByteArray("12abc") << 12;
    QTest::newRow("stops at a point") << QByteArray("12.9") << 12;
    QTest::newRow("stops at a group separator") << QByteArray("1.234") << 1;
    QTest::newRow("space after the sign") << QByteArray("- 5") << 0;
    QTest::newRow("two signs") << QByteArray("+-5") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("letters") << QByteArray("abc") << 0;
    QTest::newRow("sign alone") << QByteArray("-") << 0;
    QTest::newRow("hexadecimal") << QByteArray("0x1A") << 0;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("one above wraps") << QByteArray("2147483648") << int(-2147483647 - 1);
    QTest::newRow("one below wraps") << QByteArray("-2147483649") << 2147483647;
    QTest::newRow("2^32 + 1 wraps") << QByteArray("4294967297") << 1;
    QTest::newRow("many digits") << QByteArray("99999999999999999999") << 1661992959;
}

void TestNumbers::readInteger()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(ReadInteger(text.constData()), int32_t(value));
}

void TestNumbers::formatFixed_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("0 decimals rounds") << 12.6 << 0 << QByteArray("13");
    QTest::newRow("1 decimal") << 12.3 << 1 << QByteArray("12.3");
    QTest::newRow("2 decimals of zero") << 0.0 << 2 << QByteArray("0.00");
    QTest::newRow("3 decimals") << 12345.678 << 3 << QByteArray("12345.678");
    QTest::newRow("negative") << -1.5 << 1 << QByteArray("-1.5");
    QTest::newRow("negative rounds to zero") << -0.4 << 0 << QByteArray("-0");
    QTest::newRow("no grouping") << 1234567.0 << 0 << QByteArray("1234567");
    QTest::newRow("decimals above 3 as 3") << 1.23456 << 5 << QByteArray("1.235");
    QTest::newRow("negative decimals as 0") << 7.7 << -2 << QByteArray("8");
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 2 << QByteArray("inf");
}

void TestNumbers::formatFixed()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QByteArray, text);
    char out[kFixedTextSize];
    FormatFixed(out, value, decimals);
    QCOMPARE(QByteArray(out), text);
}

void TestNumbers::panelTexts_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QByteArray>("units");
    QTest::addColumn<QByteArray>("current");
    QTest::addColumn<QByteArray>("min");
    QTest::addColumn<QByteArray>("max");
    QTest::addColumn<QByteArray>("average");
    QTest::newRow("V, 2 decimals") << 0 << QByteArray("V") << QByteArray("4.00") << QByteArray("-2.00")
                                   << QByteArray("4.00") << QByteArray("1.00");
    QTest::newRow("A, 0 decimals") << 1 << QByteArray("A") << QByteArray("13") << QByteArray("0")
                                   << QByteArray("13") << QByteArray("13");
    QTest::newRow("R by its tag") << 2 << QByteArray("R") << QByteArray("1800.0") << QByteArray("0.0")
                                  << QByteArray("1800.0") << QByteArray("1800.0");
    QTest::newRow("C, decimals 9 as 3") << 3 << QByteArray("C") << QByteArray("-20.000")
                                        << QByteArray("-20.000") << QByteArray("0.000") << QByteArray("-20.000");
}

void TestNumbers::panelTexts()
{
    QFETCH(int, item);
    QFETCH(QByteArray, units);
    QFETCH(QByteArray, current);
    QFETCH(QByteArray, min);
    QFETCH(QByteArray, max);
    QFETCH(QByteArray, average);

    TStatsBlock stats{};
    auto record = [&stats](TChannel ch, double v) {
        stats.Current[ch] = v;
        stats.Sum[ch] += v;
        ++stats.Count[ch];
        stats.Average[ch] = stats.Sum[ch] / stats.Count[ch];
        stats.Max[ch] = std::max(stats.Max[ch], v);
        stats.Min[ch] = std::min(stats.Min[ch], v);
    };
    record(chV, -2.0);
    record(chV, 4.0);
    record(chA, 12.6);
    record(chR, 1800.0);
    record(chC, -20.0);
    TConfigData config;
    config.SetV(0, 0, 1.0, 2);
    config.SetA(0, 0, 1.0, 0);
    config.SetR(0, 0, 1.0, 1);
    config.SetC(0, 0, 1.0, 9);

    TPanelTexts texts;
    QVERIFY(PanelTexts(item, stats, config, texts));
    QCOMPARE(QByteArray(texts.Units), units);
    QCOMPARE(QByteArray(texts.Current), current);
    QCOMPARE(QByteArray(texts.Min), min);
    QCOMPARE(QByteArray(texts.Max), max);
    QCOMPARE(QByteArray(texts.Average), average);
}

void TestNumbers::panelIgnoresOtherIndexes()
{
    TStatsBlock stats{};
    TConfigData config;
    TPanelTexts texts;
    std::memset(&texts, 'x', sizeof texts);
    for (int item : {-1, 4, 100}) {
        QVERIFY(!PanelTexts(item, stats, config, texts));
        QCOMPARE(texts.Units[0], 'x');
    }
    // the largest double in every format still fits the buffers
    stats.Current[chV] = -std::numeric_limits<double>::max();
    config.SetV(0, 0, 1.0, 3);
    QVERIFY(PanelTexts(0, stats, config, texts));
    QCOMPARE(QByteArray(texts.Current).size(), 314);
}

QTEST_APPLESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
