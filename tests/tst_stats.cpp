// The statistics registers: what a sequence of readings leaves in them, and that a channel's
// registers are its own.
#include "acquisition/Stats.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

class TestStats : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { ClearStats(); }
    void readings_data();
    void readings();
    void channelsAreIndependent();
    void clearZeroesEverything();
    void countStopsAtItsLimit();
    void nonFiniteReadings_data();
    void nonFiniteReadings();
};

static bool isAllZero(const TStatsBlock &block)
{
    static const TStatsBlock zero{};
    return std::memcmp(&zero, &block, sizeof block) == 0;
}

void TestStats::initTestCase()
{
    // before anything has been recorded or cleared
    QVERIFY(isAllZero(Stats));
}

void TestStats::readings_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("current");
    QTest::addColumn<double>("sum");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("average");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("min");
    QTest::newRow("first positive: Min stays 0") << QList<double>{5.0} << 5.0 << 5.0 << 1 << 5.0 << 5.0 << 0.0;
    QTest::newRow("first negative: Max stays 0") << QList<double>{-3.0} << -3.0 << -3.0 << 1 << -3.0 << 0.0 << -3.0;
    QTest::newRow("two readings") << QList<double>{2.0, 4.0} << 4.0 << 6.0 << 2 << 3.0 << 4.0 << 0.0;
    QTest::newRow("zero is counted") << QList<double>{4.0, 0.0} << 0.0 << 4.0 << 2 << 2.0 << 4.0 << 0.0;
    QTest::newRow("equal to Max") << QList<double>{7.0, 7.0} << 7.0 << 14.0 << 2 << 7.0 << 7.0 << 0.0;
    QTest::newRow("both signs") << QList<double>{-2.5, 10.0, -4.0, 1.0} << 1.0 << 4.5 << 4 << 1.125 << 10.0 << -4.0;
    QTest::newRow("mean over all") << QList<double>{1.0, 2.0, 3.0, 4.0, 5.0, 6.0} << 6.0 << 21.0 << 6 << 3.5 << 6.0 << 0.0;
}

void TestStats::readings()
{
    QFETCH(QList<double>, values);
    QFETCH(double, current);
    QFETCH(double, sum);
    QFETCH(int, count);
    QFETCH(double, average);
    QFETCH(double, max);
    QFETCH(double, min);
    for (double v : values)
        RecordReading(chR, v);
    QCOMPARE(Stats.Current[chR], current);
    QCOMPARE(Stats.Sum[chR], sum);
    QCOMPARE(Stats.Count[chR], count);
    QCOMPARE(Stats.Average[chR], average);
    QCOMPARE(Stats.Max[chR], max);
    QCOMPARE(Stats.Min[chR], min);
}

void TestStats::channelsAreIndependent()
{
    RecordReading(chA, 12.5);
    RecordReading(chA, -1.0);
    for (TChannel other : {chV, chR, chC}) {
        QCOMPARE(Stats.Count[other], 0);
        QCOMPARE(Stats.Current[other], 0.0);
        QCOMPARE(Stats.Sum[other], 0.0);
        QCOMPARE(Stats.Average[other], 0.0);
        QCOMPARE(Stats.Max[other], 0.0);
        QCOMPARE(Stats.Min[other], 0.0);
    }
    QCOMPARE(Stats.Count[chA], 2);
    QCOMPARE(Stats.Max[chA], 12.5);
    QCOMPARE(Stats.Min[chA], -1.0);
}

void TestStats::clearZeroesEverything()
{
    for (int ch = 0; ch < kChannelCount; ++ch) {
        RecordReading(TChannel(ch), 3.0 + ch);
        RecordReading(TChannel(ch), -7.0);
    }
    ClearStats();
    QVERIFY(isAllZero(Stats));
    // nothing divides by the zero count: the mean stays 0 until the next reading
    QCOMPARE(Stats.Average[chV], 0.0);
    RecordReading(chV, 8.0);
    QCOMPARE(Stats.Average[chV], 8.0);
    QCOMPARE(Stats.Min[chV], 0.0);
}

void TestStats::countStopsAtItsLimit()
{
    const int32_t limit = std::numeric_limits<int32_t>::max();
    Stats.Count[chC] = limit - 1;
    Stats.Sum[chC] = 2.0 * (limit - 1);
    Stats.Average[chC] = 2.0;

    RecordReading(chC, 2.0);
    QCOMPARE(Stats.Count[chC], limit);
    QCOMPARE(Stats.Average[chC], 2.0);

    // past the limit: no signed overflow, the mean stays that of the readings counted,
    // while the last value and the extremes still follow
    RecordReading(chC, 500.0);
    RecordReading(chC, -9.0);
    QCOMPARE(Stats.Count[chC], limit);
    QCOMPARE(Stats.Sum[chC], 2.0 * limit);
    QCOMPARE(Stats.Average[chC], 2.0);
    QCOMPARE(Stats.Current[chC], -9.0);
    QCOMPARE(Stats.Max[chC], 500.0);
    QCOMPARE(Stats.Min[chC], -9.0);
}

void TestStats::nonFiniteReadings_data()
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double big = std::numeric_limits<double>::max();
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("current");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("min");
    QTest::newRow("NaN ignored") << QList<double>{4.0, nan} << 1 << 4.0 << 4.0 << 0.0;
    QTest::newRow("NaN first") << QList<double>{nan} << 0 << 0.0 << 0.0 << 0.0;
    QTest::newRow("+inf as largest") << QList<double>{inf} << 1 << big << big << 0.0;
    QTest::newRow("-inf as lowest") << QList<double>{-inf} << 1 << -big << 0.0 << -big;
    QTest::newRow("both infinities") << QList<double>{inf, -inf, inf} << 3 << big << big << -big;
    QTest::newRow("sum overflows") << QList<double>{big, big, -big, -big, -big} << 5 << -big << big << -big;
}

void TestStats::nonFiniteReadings()
{
    QFETCH(QList<double>, values);
    QFETCH(int, count);
    QFETCH(double, current);
    QFETCH(double, max);
    QFETCH(double, min);
    for (double v : values)
        RecordReading(chA, v);
    QCOMPARE(Stats.Count[chA], count);
    QCOMPARE(Stats.Current[chA], current);
    QCOMPARE(Stats.Max[chA], max);
    QCOMPARE(Stats.Min[chA], min);
    QVERIFY(!std::isnan(Stats.Sum[chA]));
    QVERIFY(!std::isnan(Stats.Average[chA]));
}

QTEST_APPLESS_MAIN(TestStats)
#include "tst_stats.moc"
