// Needle meter: which ranges it takes, where the position is held, the needle and scale
// geometry, and that it repaints only when something visible changes.
#include "platform/VrMeter.h"
#include "PaintCounter.h"

#include <QSignalSpy>
#include <QtTest>

#include <climits>
#include <cmath>
#include <functional>
#include <memory>

using MeterAction = std::function<void(TVrMeter &)>;
Q_DECLARE_METATYPE(MeterAction)

class TestVrMeter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaults();
    void rangeAcceptance_data();
    void rangeAcceptance();
    void positionClamped_data();
    void positionClamped();
    void unchangedPositionEmitsNothing();
    void rangeChangeReclampsPosition_data();
    void rangeChangeReclampsPosition();
    void labelsAtLeastTwo();
    void needleAngle_data();
    void needleAngle();
    void ticksAndZones();
    void labelValues_data();
    void labelValues();
    void labelCentre_data();
    void labelCentre();
    void repaintsOnlyOnVisibleChange_data();
    void repaintsOnlyOnVisibleChange();

private:
    std::unique_ptr<TVrMeter> m_meter;
};

void TestVrMeter::init()
{
    m_meter = std::make_unique<TVrMeter>();
}

void TestVrMeter::cleanup()
{
    m_meter.reset();
}

void TestVrMeter::defaults()
{
    QCOMPARE(m_meter->MinValue(), 0);
    QCOMPARE(m_meter->MaxValue(), 100);
    QCOMPARE(m_meter->Position(), 0);
    QCOMPARE(m_meter->Labels(), 5);
    QCOMPARE(m_meter->Caption(), QString());
}

void TestVrMeter::rangeAcceptance_data()
{
    QTest::addColumn<int>("fromMin");
    QTest::addColumn<int>("fromMax");
    QTest::addColumn<int>("newMin");
    QTest::addColumn<int>("newMax");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("rangeSignals");

    // the minimum is set before the maximum, as the configuration is applied
    QTest::newRow("minimum above maximum refused, maximum taken")
        << 0 << 20 << 200 << 300 << 0 << 300 << 1;
    QTest::newRow("the same again takes the minimum") << 0 << 300 << 200 << 300 << 200 << 300 << 1;
    QTest::newRow("zeros: minimum taken, maximum not above it")
        << -20 << 120 << 0 << 0 << 0 << 120 << 1;
    QTest::newRow("zeros on a range from 0: both refused") << 0 << 30 << 0 << 0 << 0 << 30 << 0;
    QTest::newRow("equal to the current values") << 0 << 20 << 0 << 20 << 0 << 20 << 0;
    QTest::newRow("minimum equal to maximum inside the range") << 0 << 20 << 5 << 5 << 5 << 20 << 1;
    QTest::newRow("minimum equal to maximum above the range") << 0 << 20 << 50 << 50 << 0 << 50 << 1;
    QTest::newRow("minimum equal to the current maximum") << 0 << 20 << 20 << 20 << 0 << 20 << 0;
    QTest::newRow("both taken, moving down") << 100 << 200 << 10 << 50 << 10 << 50 << 2;
    QTest::newRow("whole int range") << 0 << 100 << INT_MIN << INT_MAX << INT_MIN << INT_MAX << 2;
}

void TestVrMeter::rangeAcceptance()
{
    QFETCH(int, fromMin);
    QFETCH(int, fromMax);
    QFETCH(int, newMin);
    QFETCH(int, newMax);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, rangeSignals);

    // reach the starting range whichever side of the default it lies
    m_meter->SetMinValue(INT_MIN);
    m_meter->SetMaxValue(fromMax);
    m_meter->SetMinValue(fromMin);
    QCOMPARE(m_meter->MinValue(), fromMin);
    QCOMPARE(m_meter->MaxValue(), fromMax);

    QSignalSpy spy(m_meter.get(), &TVrMeter::RangeChanged);
    m_meter->SetMinValue(newMin);
    m_meter->SetMaxValue(newMax);
    QCOMPARE(m_meter->MinValue(), min);
    QCOMPARE(m_meter->MaxValue(), max);
    QCOMPARE(spy.count(), rangeSignals);
}

void TestVrMeter::positionClamped_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("position");

    QTest::newRow("inside") << 0 << 20 << 12 << 12;
    QTest::newRow("at maximum") << 0 << 20 << 20 << 20;
    QTest::newRow("above maximum") << 0 << 20 << 25 << 20;
    QTest::newRow("below minimum") << -20 << 120 << -100 << -20;
    QTest::newRow("negative inside") << -20 << 120 << -1 << -1;
    QTest::newRow("int extremes") << -20 << 120 << INT_MAX << 120;
    QTest::newRow("int minimum") << -20 << 120 << INT_MIN << -20;
}

void TestVrMeter::positionClamped()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, value);
    QFETCH(int, position);

    m_meter->SetMinValue(min);
    m_meter->SetMaxValue(max);
    const int before = m_meter->Position();
    QSignalSpy spy(m_meter.get(), &TVrMeter::PositionChanged);
    m_meter->SetPosition(value);
    QCOMPARE(m_meter->Position(), position);
    if (position == before) {
        QCOMPARE(spy.count(), 0);
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), position);
    }
}

void TestVrMeter::unchangedPositionEmitsNothing()
{
    m_meter->SetMaxValue(20);
    QSignalSpy spy(m_meter.get(), &TVrMeter::PositionChanged);

    m_meter->SetPosition(15);
    m_meter->SetPosition(15);
    QCOMPARE(spy.count(), 1);

    // beyond the end the needle stays where it shows the maximum
    m_meter->SetPosition(25);
    m_meter->SetPosition(30);
    m_meter->SetPosition(20);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(1).at(0).toInt(), 20);

    m_meter->SetPosition(-5);
    m_meter->SetPosition(0);
    QCOMPARE(spy.count(), 3);
    QCOMPARE(m_meter->Position(), 0);
}

void TestVrMeter::rangeChangeReclampsPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("newMin");
    QTest::addColumn<int>("newMax");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("positionSignals");

    // from 0 .. 100
    QTest::newRow("maximum lowered below the position") << 80 << 0 << 50 << 50 << 1;
    QTest::newRow("minimum raised above the position") << 10 << 20 << 100 << 20 << 1;
    QTest::newRow("position still inside") << 30 << 0 << 50 << 30 << 0;
    QTest::newRow("refused range keeps the position") << 80 << 100 << 100 << 80 << 0;
}

void TestVrMeter::rangeChangeReclampsPosition()
{
    QFETCH(int, position);
    QFETCH(int, newMin);
    QFETCH(int, newMax);
    QFETCH(int, shown);
    QFETCH(int, positionSignals);

    m_meter->SetPosition(position);
    QSignalSpy positionSpy(m_meter.get(), &TVrMeter::PositionChanged);
    m_meter->SetMinValue(newMin);
    m_meter->SetMaxValue(newMax);
    QCOMPARE(m_meter->Position(), shown);
    QCOMPARE(positionSpy.count(), positionSignals);
    if (positionSignals > 0)
        QCOMPARE(positionSpy.last().at(0).toInt(), shown);

    // widening the range again does not bring the old position back
    m_meter->SetMinValue(-1000);
    m_meter->SetMaxValue(1000);
    QCOMPARE(m_meter->Position(), shown);
}

void TestVrMeter::labelsAtLeastTwo()
{
    m_meter->SetLabels(7);
    QCOMPARE(m_meter->Labels(), 7);
    m_meter->SetLabels(1);
    QCOMPARE(m_meter->Labels(), 2);
    m_meter->SetLabels(-3);
    QCOMPARE(m_meter->Labels(), 2);
}

void TestVrMeter::needleAngle_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<double>("degrees");

    QTest::newRow("minimum") << 0 << 0 << 20 << -45.0;
    QTest::newRow("maximum") << 20 << 0 << 20 << 45.0;
    QTest::newRow("middle") << 10 << 0 << 20 << 0.0;
    QTest::newRow("three quarters") << 15 << 0 << 20 << 22.5;
    QTest::newRow("below minimum") << -5 << 0 << 20 << -45.0;
    QTest::newRow("above maximum") << 3001 << 0 << 3000 << 45.0;
    QTest::newRow("negative minimum") << 50 << -20 << 120 << 0.0;
    QTest::newRow("zero on a range from -20") << 0 << -20 << 120 << -45.0 + 90.0 * 20 / 140;
    QTest::newRow("whole int range") << INT_MAX << INT_MIN << INT_MAX << 45.0;
    QTest::newRow("empty range") << 5 << 5 << 5 << -45.0;
}

void TestVrMeter::needleAngle()
{
    QFETCH(int, position);
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(double, degrees);

    QVERIFY2(qAbs(TVrMeter::NeedleAngle(position, min, max) - degrees) < 1e-9,
             qPrintable(QString::number(TVrMeter::NeedleAngle(position, min, max))));
}

void TestVrMeter::ticksAndZones()
{
    QCOMPARE(TVrMeter::TickAngle(0), -45.0);
    QCOMPARE(TVrMeter::TickAngle(30), 0.0);
    QCOMPARE(TVrMeter::TickAngle(TVrMeter::kTicks - 1), 45.0);

    // 60 % of the 60 steps green, 25 % yellow, the rest red
    QCOMPARE(TVrMeter::YellowFromTick(), 36);
    QCOMPARE(TVrMeter::RedFromTick(), 51);
    QCOMPARE(TVrMeter::TickAngle(TVrMeter::YellowFromTick()), 9.0);
    QCOMPARE(TVrMeter::TickAngle(TVrMeter::RedFromTick()), 31.5);

    int counts[3] = {0, 0, 0};
    TVrMeter::Zone previous = TVrMeter::Zone::Green;
    for (int tick = 0; tick < TVrMeter::kTicks; ++tick) {
        const TVrMeter::Zone zone = TVrMeter::TickZone(tick);
        QVERIFY2(int(zone) >= int(previous), qPrintable(QString::number(tick)));
        previous = zone;
        ++counts[int(zone)];
    }
    QCOMPARE(counts[int(TVrMeter::Zone::Green)], 36);
    QCOMPARE(counts[int(TVrMeter::Zone::Yellow)], 15);
    QCOMPARE(counts[int(TVrMeter::Zone::Red)], 10);
}

void TestVrMeter::labelValues_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QList<int>>("values");

    using L = QList<int>;
    QTest::newRow("A meter") << 0 << 30 << L{0, 6, 12, 18, 24, 30};
    QTest::newRow("V meter") << 0 << 20 << L{0, 5, 10, 15, 20};
    QTest::newRow("RPM meter") << 0 << 3000 << L{0, 750, 1500, 2250, 3000};
    QTest::newRow("C meter, rounded") << -20 << 120 << L{-20, 3, 27, 50, 73, 97, 120};
    QTest::newRow("halves round away from zero") << -5 << 0 << L{-5, -3, 0};
    QTest::newRow("positive halves") << 0 << 5 << L{0, 3, 5};
    QTest::newRow("two figures over the whole int range") << INT_MIN << INT_MAX << L{INT_MIN, INT_MAX};
}

void TestVrMeter::labelValues()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QList<int>, values);

    const int count = int(values.size());
    QList<int> got;
    for (int k = 0; k < count; ++k)
        got.append(TVrMeter::LabelValue(k, count, min, max));
    QCOMPARE(got, values);
    QCOMPARE(TVrMeter::LabelAngle(0, count), -45.0);
    QCOMPARE(TVrMeter::LabelAngle(count - 1, count), 45.0);
}

void TestVrMeter::labelCentre_data()
{
    QTest::addColumn<double>("degrees");
    QTest::addColumn<QSizeF>("box");
    QTest::addColumn<QPointF>("centre");

    // inner radius 50; a box 20 wide and 10 high
    const double diagonal = (50 + 15 * std::sqrt(0.5)) * std::sqrt(0.5);
    QTest::newRow("top: half the height out") << 0.0 << QSizeF(20, 10) << QPointF(0, -55);
    QTest::newRow("right end: half of both") << 45.0 << QSizeF(20, 10) << QPointF(diagonal, -diagonal);
    QTest::newRow("left end mirrors it") << -45.0 << QSizeF(20, 10) << QPointF(-diagonal, -diagonal);
    QTest::newRow("horizontal: half the width out") << 90.0 << QSizeF(20, 10) << QPointF(60, 0);
    QTest::newRow("empty box on the radius") << 45.0 << QSizeF(0, 0) << QPointF(50 * std::sqrt(0.5), -50 * std::sqrt(0.5));
}

void TestVrMeter::labelCentre()
{
    QFETCH(double, degrees);
    QFETCH(QSizeF, box);
    QFETCH(QPointF, centre);

    const QPointF got = TVrMeter::LabelCentre(degrees, box, 50);
    QVERIFY2(qAbs(got.x() - centre.x()) < 1e-9 && qAbs(got.y() - centre.y()) < 1e-9,
             qPrintable(QString("%1, %2").arg(got.x()).arg(got.y())));
}

void TestVrMeter::repaintsOnlyOnVisibleChange_data()
{
    QTest::addColumn<MeterAction>("action");
    QTest::addColumn<bool>("repaints");

    // the meter starts at 0 .. 20, position 20, caption "V", 5 labels
    QTest::newRow("same position") << MeterAction([](TVrMeter &m) { m.SetPosition(20); }) << false;
    QTest::newRow("position beyond the shown end")
        << MeterAction([](TVrMeter &m) { m.SetPosition(25); }) << false;
    QTest::newRow("refused minimum") << MeterAction([](TVrMeter &m) { m.SetMinValue(20); }) << false;
    QTest::newRow("refused maximum") << MeterAction([](TVrMeter &m) { m.SetMaxValue(0); }) << false;
    QTest::newRow("same minimum") << MeterAction([](TVrMeter &m) { m.SetMinValue(0); }) << false;
    QTest::newRow("same caption") << MeterAction([](TVrMeter &m) { m.SetCaption("V"); }) << false;
    QTest::newRow("same labels") << MeterAction([](TVrMeter &m) { m.SetLabels(5); }) << false;
    QTest::newRow("new position") << MeterAction([](TVrMeter &m) { m.SetPosition(15); }) << true;
    QTest::newRow("new minimum") << MeterAction([](TVrMeter &m) { m.SetMinValue(-5); }) << true;
    QTest::newRow("new maximum") << MeterAction([](TVrMeter &m) { m.SetMaxValue(30); }) << true;
    QTest::newRow("new caption") << MeterAction([](TVrMeter &m) { m.SetCaption("A"); }) << true;
    QTest::newRow("new labels") << MeterAction([](TVrMeter &m) { m.SetLabels(6); }) << true;
}

void TestVrMeter::repaintsOnlyOnVisibleChange()
{
    QFETCH(MeterAction, action);
    QFETCH(bool, repaints);

    m_meter->SetMaxValue(20);
    m_meter->SetPosition(20);
    m_meter->SetCaption("V");
    m_meter->resize(TVrMeter::kDesignWidth, TVrMeter::kDesignHeight);
    PaintCounter counter;
    m_meter->installEventFilter(&counter);
    m_meter->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_meter.get()));
    QTRY_VERIFY(counter.paints > 0);
    QTest::qWait(50);

    counter.paints = 0;
    action(*m_meter);
    QCOMPARE(QTest::qWaitFor([&] { return counter.paints > 0; }, 300), repaints);
}

QTEST_MAIN(TestVrMeter)
#include "tst_vrmeter.moc"
