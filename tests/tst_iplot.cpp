// Strip chart: axis tracking over sequences of points, clearing, time stamps and labels, the
// label step, the background, and that a burst of points costs one replot, not one per point.
#include "platform/iPlot.h"
#include "ChartFixture.h"
#include "platform/PlotBackground.h"
#include "platform/PlotTime.h"
#include "platform/TimeOfDayTicker.h"

#include <QSignalSpy>
#include <QtTest>
#include <qcustomplot.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kSecond = 1.0 / 86400.0;
constexpr double kT0 = 46367.25;   // 2026-12-11 06:00
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A span read back from an axis at day 46367 carries its rounding, some 1e-12 days.
constexpr double kSpanTolerance = 1e-9;

// Adds point k to channel k % 4: the axes are shared, so which channel a point goes to must not
// matter.
void Feed(TiPlot &plot, const QList<QPointF> &points)
{
    for (int k = 0; k < points.size(); ++k)
        plot.GetChannel(k % plot.ChannelCount())->AddXY(points[k].x(), points[k].y());
}

} // namespace

class TestIPlot : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void channelsDrawAsAdded();
    void tracking_data();
    void tracking();
    void pausedFirstPointUsesUpFirstRule();
    void zoomedWindowIsTrackedFrom();
    void clearKeepsAxesAndOtherChannels();
    void pointsKeptInTimeOrder();
    void addYNowStampsPresentTime();
    void daysFromDateTime_data();
    void daysFromDateTime();
    void timeOfDayText_data();
    void timeOfDayText();
    void tickStep_data();
    void tickStep();
    void timeLabelsDoNotOverlap();
    void burstOfPointsCostsOneReplot();
    void background_data();
    void background();

private:
    TiPlot *m_plot = nullptr;
};

void TestIPlot::init()
{
    m_plot = NewWindowChart();
}

void TestIPlot::cleanup()
{
    delete m_plot;
    m_plot = nullptr;
}

void TestIPlot::channelsDrawAsAdded()
{
    QCOMPARE(m_plot->ChannelCount(), 4);
    QCOMPARE(m_plot->GetChannel(-1), nullptr);
    QCOMPARE(m_plot->GetChannel(4), nullptr);

    TiPlotChannel *rpm = m_plot->GetChannel(2);
    QCOMPARE(rpm->Name(), QString("R"));
    QCOMPARE(rpm->TitleText(), QString("RPM"));
    QCOMPARE(rpm->Color(), QColor(Qt::red));
    QCOMPARE(rpm->Count(), 0);

    for (int i = 0; i < m_plot->ChannelCount(); ++i) {
        const TiPlotChannel *channel = m_plot->GetChannel(i);
        const QCPGraph *graph = channel->Graph();
        QCOMPARE(graph, m_plot->Plot()->graph(i));
        QCOMPARE(graph->name(), channel->TitleText());   // what a legend shows
        QCOMPARE(graph->pen().color(), channel->Color());
        QCOMPARE(graph->pen().width(), 1);
        QCOMPARE(graph->lineStyle(), QCPGraph::lsLine);
        QCOMPARE(graph->scatterStyle().shape(), QCPScatterStyle::ssNone);
        QVERIFY(graph->adaptiveSampling());
        QCOMPARE(graph->keyAxis(), m_plot->Plot()->xAxis);
        QCOMPARE(graph->valueAxis(), m_plot->Plot()->yAxis);
    }
}

void TestIPlot::tracking_data()
{
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xSpan");
    QTest::addColumn<double>("yMin");
    QTest::addColumn<double>("ySpan");

    using P = QList<QPointF>;
    const double span = TiPlot::kTimeSpan;
    QTest::newRow("nothing added") << P{} << false << 0.0 << span << 0.0 << 10.0;
    QTest::newRow("first point at now starts the window")
        << P{{kT0, 1}} << false << kT0 << span << 0.0 << 10.0;
    QTest::newRow("first point inside the window keeps it")
        << P{{3 * kMinute, 1}} << false << 0.0 << span << 0.0 << 10.0;
    QTest::newRow("first point before day 0 starts the window")
        << P{{-1, 1}} << false << -1.0 << span << 0.0 << 10.0;
    QTest::newRow("point inside the window leaves it")
        << P{{kT0, 1}, {kT0 + 5 * kMinute, 1}} << false << kT0 << span << 0.0 << 10.0;
    QTest::newRow("point on the right edge leaves it")
        << P{{kT0, 1}, {kT0 + span, 1}} << false << kT0 << span << 0.0 << 10.0;
    QTest::newRow("eleven minutes later sits at the right edge")
        << P{{kT0, 1}, {kT0 + 11 * kMinute, 1}} << false << kT0 + kMinute << span << 0.0
        << 10.0;
    QTest::newRow("window keeps scrolling")
        << P{{kT0, 1}, {kT0 + 11 * kMinute, 1}, {kT0 + 25 * kMinute, 1}} << false
        << kT0 + 15 * kMinute << span << 0.0 << 10.0;
    QTest::newRow("later point far beyond scrolls, first rule spent")
        << P{{3 * kMinute, 1}, {kT0, 1}} << false << kT0 - 10 * kMinute << span << 0.0 << 10.0;
    QTest::newRow("clock set back by more than the window")
        << P{{kT0, 1}, {kT0 + 11 * kMinute, 1}, {kT0 - 20 * kMinute, 1}} << false
        << kT0 - 20 * kMinute << span << 0.0 << 10.0;
    QTest::newRow("clock set back to before the start")
        << P{{kT0, 1}, {kT0 + 11 * kMinute, 1}, {kT0 + 30 * kSecond, 1}} << false
        << kT0 + 30 * kSecond << span << 0.0 << 10.0;
    QTest::newRow("time not a number ignored")
        << P{{kT0, 1}, {kNaN, 1}} << false << kT0 << span << 0.0 << 10.0;
    QTest::newRow("value inside the range") << P{{kT0, 5}} << false << kT0 << span << 0.0 << 10.0;
    QTest::newRow("value on the top") << P{{kT0, 10}} << false << kT0 << span << 0.0 << 10.0;
    QTest::newRow("1500 raises the top")
        << P{{kT0, 1500}} << false << kT0 << span << 0.0 << 1500.0;
    QTest::newRow("1500 then -5 moves the range down")
        << P{{kT0, 1500}, {kT0, -5}} << false << kT0 << span << -5.0 << 1500.0;
    QTest::newRow("smaller values never shrink it")
        << P{{kT0, 1500}, {kT0, 3}, {kT0, 0}} << false << kT0 << span << 0.0 << 1500.0;
    QTest::newRow("below zero from the start")
        << P{{kT0, -3}} << false << kT0 << span << -3.0 << 10.0;
    QTest::newRow("-5 then 20 raises the top")
        << P{{kT0, -5}, {kT0, 20}} << false << kT0 << span << -5.0 << 25.0;
    QTest::newRow("infinite values ignored")
        << P{{kT0, kInf}, {kT0, -kInf}} << false << kT0 << span << 0.0 << 10.0;
    QTest::newRow("paused tracking leaves the axes")
        << P{{kT0, 1500}, {kT0 + 11 * kMinute, -5}} << true << 0.0 << span << 0.0 << 10.0;
}

void TestIPlot::tracking()
{
    QFETCH(QList<QPointF>, points);
    QFETCH(bool, paused);
    QFETCH(double, xMin);
    QFETCH(double, xSpan);
    QFETCH(double, yMin);
    QFETCH(double, ySpan);

    m_plot->SetTrackingEnabled(!paused);
    Feed(*m_plot, points);

    QCOMPARE(m_plot->XMin(), xMin);
    QCOMPARE(m_plot->XSpan(), xSpan);
    QCOMPARE(m_plot->YMin(), yMin);
    QCOMPARE(m_plot->YSpan(), ySpan);
    // what is drawn is what is reported
    QCOMPARE(m_plot->Plot()->xAxis->range().lower, xMin);
    QCOMPARE(m_plot->Plot()->yAxis->range().lower, yMin);
    QCOMPARE(m_plot->Plot()->yAxis->range().upper, yMin + ySpan);
}

void TestIPlot::pausedFirstPointUsesUpFirstRule()
{
    QSignalSpy changed(m_plot, &TiPlot::TrackingEnabledChanged);
    QVERIFY(m_plot->TrackingEnabled());
    m_plot->SetTrackingEnabled(true);
    QCOMPARE(changed.count(), 0);

    m_plot->SetTrackingEnabled(false);
    m_plot->GetChannel(0)->AddXY(kT0, 1);
    QCOMPARE(m_plot->XMin(), 0.0);
    m_plot->SetTrackingEnabled(true);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toBool(), true);

    // nothing moves on resuming; the next point scrolls as any later point does
    QCOMPARE(m_plot->XMin(), 0.0);
    m_plot->GetChannel(0)->AddXY(kT0 + kMinute, 1);
    QCOMPARE(m_plot->XMin(), kT0 + kMinute - TiPlot::kTimeSpan);
}

void TestIPlot::zoomedWindowIsTrackedFrom()
{
    QCPAxis *timeAxis = m_plot->Plot()->xAxis;
    m_plot->GetChannel(0)->AddXY(kT0, 1);
    timeAxis->setRange(kT0, kT0 + 20 * kMinute);   // as a zoom out by 2 does
    QCOMPARE(m_plot->XMin(), kT0);
    QVERIFY(std::abs(m_plot->XSpan() - 20 * kMinute) < kSpanTolerance);

    m_plot->GetChannel(1)->AddXY(kT0 + 15 * kMinute, 1);
    QCOMPARE(m_plot->XMin(), kT0);
    m_plot->GetChannel(1)->AddXY(kT0 + 30 * kMinute, 1);
    QCOMPARE(m_plot->XMin(), kT0 + 10 * kMinute);
    QVERIFY(std::abs(m_plot->XSpan() - 20 * kMinute) < kSpanTolerance);

    m_plot->Plot()->yAxis->setRange(-2, 2);
    m_plot->GetChannel(1)->AddXY(kT0 + 30 * kMinute, 5);
    QCOMPARE(m_plot->YMin(), -2.0);
    QCOMPARE(m_plot->YSpan(), 7.0);
}

void TestIPlot::clearKeepsAxesAndOtherChannels()
{
    TiPlotChannel *v = m_plot->GetChannel(0);
    TiPlotChannel *a = m_plot->GetChannel(1);
    v->AddXY(kT0, 1500);
    v->AddXY(kT0 + 11 * kMinute, -5);
    a->AddXY(kT0 + 11 * kMinute, 2);

    v->Clear();
    QCOMPARE(v->Count(), 0);
    QCOMPARE(a->Count(), 1);
    QCOMPARE(a->Y(0), 2.0);
    QCOMPARE(m_plot->XMin(), kT0 + kMinute);
    QCOMPARE(m_plot->YMin(), -5.0);
    QCOMPARE(m_plot->YSpan(), 1500.0);

    // recording goes on in the same window; a point far ahead is not a first point again
    v->AddXY(kT0 + 1, 7);
    QCOMPARE(v->Count(), 1);
    QCOMPARE(v->X(0), kT0 + 1);
    QCOMPARE(m_plot->XMin(), kT0 + 1 - TiPlot::kTimeSpan);
    QCOMPARE(m_plot->YSpan(), 1500.0);
}

void TestIPlot::pointsKeptInTimeOrder()
{
    // the clock set back: earlier points are put in their place, so the trace runs forward
    TiPlotChannel *c = m_plot->GetChannel(3);
    const QList<QPointF> added{{kT0, 1}, {kT0 + 2 * kMinute, 2}, {kT0 + kMinute, 3},
                               {kT0 - kMinute, 4}, {kT0 + 3 * kMinute, 5}};
    for (const QPointF &p : added)
        c->AddXY(p.x(), p.y());

    const QList<QPointF> expected{{kT0 - kMinute, 4}, {kT0, 1}, {kT0 + kMinute, 3},
                                  {kT0 + 2 * kMinute, 2}, {kT0 + 3 * kMinute, 5}};
    QCOMPARE(c->Count(), int(expected.size()));
    for (int i = 0; i < c->Count(); ++i)
        QCOMPARE(QPointF(c->X(i), c->Y(i)), expected[i]);
    QVERIFY(std::isnan(c->X(-1)));
    QVERIFY(std::isnan(c->Y(c->Count())));
}

void TestIPlot::addYNowStampsPresentTime()
{
    TiPlotChannel *r = m_plot->GetChannel(2);
    const double before = TiPlot::NowDays();
    r->AddYNow(3.5);
    const double after = TiPlot::NowDays();

    QCOMPARE(r->Count(), 1);
    QCOMPARE(r->Y(0), 3.5);
    QVERIFY2(r->X(0) >= before && r->X(0) <= after,
             qPrintable(QString::number(r->X(0), 'f', 9)));
    // a whole number of milliseconds
    const double ms = (r->X(0) - std::floor(r->X(0))) * 86400000.0;
    QVERIFY(std::abs(ms - std::round(ms)) < 1e-3);
    QCOMPARE(m_plot->XMin(), r->X(0));   // first point: the window starts at it
}

void TestIPlot::daysFromDateTime_data()
{
    QTest::addColumn<QDateTime>("local");
    QTest::addColumn<double>("days");

    QTest::newRow("epoch") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
    QTest::newRow("1900-01-01 noon") << QDateTime(QDate(1900, 1, 1), QTime(12, 0)) << 2.5;
    QTest::newRow("2026-12-11 06:00") << QDateTime(QDate(2026, 12, 11), QTime(6, 0)) << kT0;
    QTest::newRow("a millisecond after noon")
        << QDateTime(QDate(2026, 12, 11), QTime(12, 0, 0, 1)) << 46367.5 + 1 / 86400000.0;
    QTest::newRow("last millisecond of the day")
        << QDateTime(QDate(2000, 2, 29), QTime(23, 59, 59, 999)) << 36585 + 86399999 / 86400000.0;
    QTest::newRow("before the epoch, linear")
        << QDateTime(QDate(1899, 12, 29), QTime(18, 0)) << -0.25;
}

void TestIPlot::daysFromDateTime()
{
    QFETCH(QDateTime, local);
    QFETCH(double, days);
    QCOMPARE(TiPlot::DaysFromDateTime(local), days);
}

void TestIPlot::timeOfDayText_data()
{
    QTest::addColumn<double>("days");
    QTest::addColumn<QString>("text");

    QTest::newRow("midnight") << 0.0 << "00:00:00";
    QTest::newRow("noon") << 0.5 << "12:00:00";
    QTest::newRow("morning of a date") << kT0 << "06:00:00";
    QTest::newRow("hh mm ss") << 46367.0 + (13 * 3600 + 4 * 60 + 5) * kSecond << "13:04:05";
    // 0.999988 d = 86398.9632 s
    QTest::newRow("end of day, seconds truncated") << 46367.999988 << "23:59:58";
    QTest::newRow("a hair below noon is noon") << 46367.5 - 1e-10 << "12:00:00";
    QTest::newRow("half a millisecond short of midnight")
        << 46368.0 - 0.4 / 86400000.0 << "00:00:00";
    QTest::newRow("a millisecond short of midnight") << 46368.0 - 1 / 86400000.0 << "23:59:59";
    QTest::newRow("before the epoch") << -0.25 << "18:00:00";
    QTest::newRow("not a number") << kNaN << "";
}

void TestIPlot::timeOfDayText()
{
    QFETCH(double, days);
    QFETCH(QString, text);
    QCOMPARE(TiPlot::TimeOfDayText(days), text);
}

void TestIPlot::tickStep_data()
{
    QTest::addColumn<double>("spanDays");
    QTest::addColumn<double>("lengthPx");
    QTest::addColumn<double>("pitchPx");
    QTest::addColumn<double>("stepSeconds");

    const double day = 86400;
    // 785 px over 600 s: 1.31 px a second
    QTest::newRow("10 min at 785 px, 60 px labels") << 10 * kMinute << 785.0 << 60.0 << 60.0;
    QTest::newRow("10 min at 785 px, 80 px labels") << 10 * kMinute << 785.0 << 80.0 << 120.0;
    QTest::newRow("10 min at 785 px, 39 px labels") << 10 * kMinute << 785.0 << 39.0 << 30.0;
    QTest::newRow("1 min at 785 px") << kMinute << 785.0 << 60.0 << 5.0;
    QTest::newRow("never below 2 s") << 10 * kSecond << 785.0 << 60.0 << 2.0;
    QTest::newRow("1 day at 785 px") << 1.0 << 785.0 << 60.0 << 7200.0;
    QTest::newRow("a year in 1-2-5 days") << 365.0 << 785.0 << 60.0 << 50 * day;
    QTest::newRow("no length yet") << 10 * kMinute << 0.0 << 60.0 << 2.0;
    QTest::newRow("no span") << 0.0 << 785.0 << 60.0 << 2.0;
}

void TestIPlot::tickStep()
{
    QFETCH(double, spanDays);
    QFETCH(double, lengthPx);
    QFETCH(double, pitchPx);
    QFETCH(double, stepSeconds);
    QCOMPARE(TimeTickStepDays(spanDays, lengthPx, pitchPx) * 86400.0, stepSeconds);
}

void TestIPlot::timeLabelsDoNotOverlap()
{
    m_plot->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_plot));
    m_plot->GetChannel(0)->AddXY(kT0 + 7 * kSecond, 1);
    m_plot->Plot()->replot();

    QCPAxis *axis = m_plot->Plot()->xAxis;
    const QVector<double> ticks = axis->tickVector();
    const QVector<QString> labels = axis->tickVectorLabels();
    QVERIFY2(ticks.size() >= 5, qPrintable(QString::number(ticks.size())));
    const QFontMetrics metrics(axis->tickLabelFont());
    for (int i = 0; i < ticks.size(); ++i) {
        QCOMPARE(labels[i], TiPlot::TimeOfDayText(ticks[i]));
        QVERIFY(ticks[i] >= m_plot->XMin() && ticks[i] <= m_plot->XMin() + m_plot->XSpan());
        if (i == 0)
            continue;
        const double gap = axis->coordToPixel(ticks[i]) - axis->coordToPixel(ticks[i - 1]);
        const double halves =
            (metrics.horizontalAdvance(labels[i]) + metrics.horizontalAdvance(labels[i - 1])) / 2.0;
        QVERIFY2(gap > halves, qPrintable(labels[i]));
        // ticks sit on round times of the step
        const double step = std::round((ticks[i] - ticks[i - 1]) * 86400.0);
        const double second = std::round((ticks[i] - std::floor(ticks[i])) * 86400.0);
        QCOMPARE(std::fmod(second, step), 0.0);
    }
}

void TestIPlot::burstOfPointsCostsOneReplot()
{
    constexpr int kPoints = 100000;
    m_plot->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_plot));
    QTest::qWait(3 * TiPlot::kReplotDelayMs);

    QSignalSpy replots(m_plot->Plot(), &QCustomPlot::afterReplot);
    for (int k = 0; k < kPoints; ++k)
        m_plot->GetChannel(k % 4)->AddXY(kT0 + k * kSecond / 100, k % 100);
    QCOMPARE(replots.count(), 0);   // nothing drawn while the points come in

    QTRY_VERIFY(replots.count() >= 1);
    QTest::qWait(5 * TiPlot::kReplotDelayMs);
    QVERIFY2(replots.count() <= 3, qPrintable(QString::number(replots.count())));

    int total = 0;
    for (int i = 0; i < m_plot->ChannelCount(); ++i)
        total += m_plot->GetChannel(i)->Count();
    QCOMPARE(total, kPoints);
    QCOMPARE(m_plot->GetChannel(3)->X(kPoints / 4 - 1), kT0 + (kPoints - 1) * kSecond / 100);
}

void TestIPlot::background_data()
{
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("color");

    // 256 x 256, centre RGB(64, 0, 64), edge RGB(0, 0, 111)
    QTest::newRow("centre") << QPoint(128, 128) << QColor(64, 0, 64);
    QTest::newRow("top left corner") << QPoint(0, 0) << QColor(0, 0, 111);
    QTest::newRow("bottom right corner") << QPoint(255, 255) << QColor(0, 0, 111);
    QTest::newRow("middle of the top") << QPoint(128, 0) << QColor(0, 0, 111);
    QTest::newRow("half way left") << QPoint(64, 128) << QColor(32, 0, 87);
    QTest::newRow("half way on a diagonal") << QPoint(192, 64) << QColor(32, 0, 87);
}

void TestIPlot::background()
{
    QFETCH(QPoint, pixel);
    QFETCH(QColor, color);
    const QImage image =
        RectangleOutGradient(QSize(256, 256), QColor(64, 0, 64), QColor(0, 0, 111));
    const QColor got = image.pixelColor(pixel);
    QVERIFY2(std::abs(got.red() - color.red()) <= 1 && std::abs(got.green() - color.green()) <= 1
                 && std::abs(got.blue() - color.blue()) <= 1,
             qPrintable(got.name()));
}

QTEST_MAIN(TestIPlot)
#include "tst_iplot.moc"
