// The sample tick in both modes and framings, the simulation's lines, the clear buttons, and
// the chart's axes following what the window records.
#include "acquisition/RxLine.h"
#include "acquisition/Simulation.h"
#include "acquisition/Stats.h"
#include "config/ConfigData.h"
#include "platform/FreeButton.h"
#include "platform/iPlot.h"
#include "platform/PCheck.h"
#include "platform/StatusBar.h"
#include "platform/VrMatrix.h"
#include "platform/VrMeter.h"
#include "ui/FormMain.h"
#include "Fixtures.h"

#include <QTimer>
#include <QtTest>

#include <memory>

class TestRecording : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tick_data();
    void tick();
    void tickRecordsHeldValues();
    void timerDrivesTick();
    void generatorStartsAlike();
    void simulatedLines();
    void simulationRanges();
    void simulationScalesAndReplacesPartialLine();
    void clearGraph();
    void clearData();
    void valueAxisFollowsReadings();

private:
    void receive(const QByteArray &line);
    // What the tick added: per chart channel the values, in the order the channels got them.
    struct Added { QList<int> order; QList<double> values[kChannelCount]; };
    void watch(Added &added);
    int points(int channel) const { return m_form->P1->GetChannel(channel)->Count(); }

    std::unique_ptr<TFormMain> m_form;
};

void TestRecording::init()
{
    ResetRecords();
    for (auto set : {&TConfigData::SetV, &TConfigData::SetA, &TConfigData::SetR, &TConfigData::SetC})
        (ConfigData.*set)(0, 0, 1.0, 1);
    m_form = std::make_unique<TFormMain>();
    FormMain = m_form.get();
}

void TestRecording::cleanup()
{
    FormMain = nullptr;
    m_form.reset();
}

void TestRecording::receive(const QByteArray &line)
{
    const QByteArray bytes = line + '\r';
    RxAssemble(bytes.constData(), int32_t(bytes.size()), [this] { m_form->Parse(); });
}

void TestRecording::watch(Added &added)
{
    for (int i = 0; i < kChannelCount; ++i) {
        connect(m_form->P1->GetChannel(i), &TiPlotChannel::PointAdded, this, [&added, i](double, double y) {
            added.order.append(i);
            added.values[i].append(y);
        });
    }
}

void TestRecording::tick_data()
{
    QTest::addColumn<bool>("simulation");
    QTest::addColumn<bool>("singlePackets");
    QTest::addColumn<QList<bool>>("enabled");   // PChV, PChA, PChR, PChC
    QTest::addColumn<QList<int>>("order");      // chart channels that got a point, in order
    QTest::addColumn<int>("readings");          // readings recorded per channel by the tick
    using B = QList<bool>;
    using I = QList<int>;
    QTest::newRow("recording, all enabled") << false << false << B{true, true, true, true} << I{1, 0, 2, 3} << 0;
    QTest::newRow("recording, single packets") << false << true << B{true, true, true, true} << I{1, 0, 2, 3} << 0;
    QTest::newRow("recording, A and C off") << false << false << B{true, false, true, false} << I{0, 2} << 0;
    QTest::newRow("simulation, multi-field") << true << false << B{true, true, true, true} << I{0, 1, 2, 3} << 1;
    QTest::newRow("simulation, multi-field, V off") << true << false << B{false, true, true, true} << I{1, 2, 3} << 1;
    QTest::newRow("simulation, single packets") << true << true << B{true, true, true, true} << I{} << 1;
}

void TestRecording::tick()
{
    QFETCH(bool, simulation);
    QFETCH(bool, singlePackets);
    QFETCH(QList<bool>, enabled);
    QFETCH(QList<int>, order);
    QFETCH(int, readings);

    ConfigData.SetSimulation(simulation ? 1 : 0);
    ConfigData.SetSinglePackets(singlePackets ? 1 : 0);
    TPCheck *boxes[] = {m_form->PChV, m_form->PChA, m_form->PChR, m_form->PChC};
    for (int i = 0; i < kChannelCount; ++i)
        boxes[i]->SetChecked(enabled[i]);
    if (!simulation) {
        for (int ch = 0; ch < kChannelCount; ++ch)
            RecordReading(TChannel(ch), 10.0 * (ch + 1));
    }
    const TStatsBlock before = Stats;

    Added added;
    watch(added);
    m_form->TimerPollingTimer();

    QCOMPARE(added.order, order);
    for (int ch = 0; ch < kChannelCount; ++ch) {
        QCOMPARE(Stats.Count[ch], before.Count[ch] + readings);
        // a point carries the channel's last reading, whoever recorded it
        for (double y : added.values[ch])
            QCOMPARE(y, Stats.Current[ch]);
    }
    if (simulation) {
        QCOMPARE(m_form->SB1->PanelText(singlePackets ? 4 : 6).left(1), QStringLiteral("C"));
        QCOMPARE(RxCount, 0);
    }
}

void TestRecording::tickRecordsHeldValues()
{
    receive("V00012A00034");
    m_form->TimerPollingTimer();
    m_form->FBClearDClick();
    m_form->TimerPollingTimer();
    // the decoder's own points, then a tick of the readings, then a tick of zeros
    QCOMPARE(points(0), 3);
    QCOMPARE(m_form->P1->GetChannel(0)->Y(1), 12.0);
    QCOMPARE(m_form->P1->GetChannel(0)->Y(2), 0.0);
    QCOMPARE(points(2), 2);
    QCOMPARE(m_form->P1->GetChannel(2)->Y(0), 0.0);
}

void TestRecording::timerDrivesTick()
{
    m_form->TimerPolling->setInterval(10);
    m_form->TimerPolling->start();
    QTRY_VERIFY(points(3) >= 3);
    m_form->TimerPolling->stop();
}

void TestRecording::generatorStartsAlike()
{
    // pinned: the simulation must make the same sequence at every run, on every build
    TRandom a;
    TRandom b;
    const QList<int> first = {2079722983, 1128047493, 606646971, 2071887587, 1771238440, 184017528};
    for (int expected : first) {
        QCOMPARE(a.Next31(), expected);
        QCOMPARE(b.Next31(), expected);
    }
    TRandom c;
    for (int i = 0; i < 10000; ++i) {
        const int v = c.Random(7);
        QVERIFY(v >= 0 && v < 7);
    }
    QCOMPARE(c.Random(0), 0);
}

void TestRecording::simulatedLines()
{
    ConfigData.SetSimulation(1);
    ConfigData.SetSinglePackets(1);
    m_form->TimerPollingTimer();
    QCOMPARE(m_form->SB1->PanelText(1), QStringLiteral("V00205"));
    QCOMPARE(m_form->SB1->PanelText(2), QStringLiteral("A00115"));
    QCOMPARE(m_form->SB1->PanelText(3), QStringLiteral("R01971"));
    QCOMPARE(m_form->SB1->PanelText(4), QStringLiteral("C00107"));
    m_form->TimerPollingTimer();
    QCOMPARE(m_form->SB1->PanelText(1), QStringLiteral("V00062"));
    QCOMPARE(m_form->SB1->PanelText(4), QStringLiteral("C00102"));
    // a new window starts a new run: the same lines again
    m_form = std::make_unique<TFormMain>();
    m_form->TimerPollingTimer();
    QCOMPARE(m_form->SB1->PanelText(1), QStringLiteral("V00205"));
}

void TestRecording::simulationRanges()
{
    ConfigData.SetSimulation(1);
    const int ticks = 500;
    for (int k = 0; k < ticks; ++k) {
        m_form->TimerPollingTimer();
        QVERIFY(Stats.Current[chV] >= 22 && Stats.Current[chV] <= 221);
        QVERIFY(Stats.Current[chA] >= 22 && Stats.Current[chA] <= 221);
        QVERIFY(Stats.Current[chR] >= 1800 && Stats.Current[chR] <= 1999);
        QVERIFY(Stats.Current[chC] >= 100 && Stats.Current[chC] <= 119);
    }
    for (int ch = 0; ch < kChannelCount; ++ch) {
        QCOMPARE(Stats.Count[ch], ticks);
        QCOMPARE(Stats.Min[ch], 0.0);   // the registers start from 0
        QCOMPARE(points(ch), ticks);    // multi-field: the decoder's point of each reading
    }
    QVERIFY(Stats.Max[chV] <= 221);
    QVERIFY(Stats.Max[chR] >= 1990);    // 500 draws reach the top of the range
    // switched off, the next tick records the chart instead
    ConfigData.SetSimulation(0);
    m_form->TimerPollingTimer();
    QCOMPARE(Stats.Count[chV], ticks);
    QCOMPARE(points(0), ticks + 1);
}

void TestRecording::simulationScalesAndReplacesPartialLine()
{
    ConfigData.SetSimulation(1);
    ConfigData.SetV(0, 0, 0.1, 1);
    const QByteArray partial = "A000";
    RxAssemble(partial.constData(), int32_t(partial.size()), [] {});
    m_form->TimerPollingTimer();
    QCOMPARE(Stats.Current[chV], 205 * 0.1);
    QCOMPARE(Stats.Count[chA], 1);   // the partial line was replaced, not decoded
    QCOMPARE(Stats.Current[chA], 115.0);
    QCOMPARE(RxCount, 0);
    QCOMPARE(RxLine[0], '\0');
}

void TestRecording::clearGraph()
{
    m_form->PChA->SetChecked(false);
    receive("V00100A00001R00002C00003");
    m_form->PChA->SetChecked(true);
    receive("A00200");
    m_form->PChA->SetChecked(false);
    const double xMin = m_form->P1->XMin();
    const double yMin = m_form->P1->YMin();
    const double ySpan = m_form->P1->YSpan();
    QVERIFY(ySpan >= 200);
    const int countV = Stats.Count[chV];

    QTest::mouseClick(m_form->FBClearG, Qt::LeftButton);
    for (int ch = 0; ch < kChannelCount; ++ch)
        QCOMPARE(points(ch), 0);
    QCOMPARE(m_form->P1->XMin(), xMin);
    QCOMPARE(m_form->P1->YMin(), yMin);
    QCOMPARE(m_form->P1->YSpan(), ySpan);   // the range does not shrink
    QCOMPARE(Stats.Count[chV], countV);
    QCOMPARE(m_form->VMV->Position(), 20);
    // and recording goes on
    m_form->TimerPollingTimer();
    QCOMPARE(points(0), 1);
    QCOMPARE(points(1), 0);
}

void TestRecording::clearData()
{
    ConfigData.SetSinglePackets(1);
    receive("V00007");
    receive("P5");
    QCOMPARE(m_form->VMCurrent->Text(), QStringLiteral("7.0"));
    m_form->TimerPollingTimer();
    const int before = points(0);

    QTest::mouseClick(m_form->FBClearD, Qt::LeftButton);
    static const TStatsBlock zero{};
    QCOMPARE(std::memcmp(&Stats, &zero, sizeof Stats), 0);
    for (TVrMatrix *m : {m_form->VMCurrent, m_form->VMMin, m_form->VMMax, m_form->VMAve})
        QCOMPARE(m->Text(), QStringLiteral("0.0"));
    QCOMPARE(m_form->VMUnits->Text(), QStringLiteral("V"));
    // nothing else is touched
    QCOMPARE(points(0), before);
    QCOMPARE(m_form->VMV->Position(), 7);
    QCOMPARE(m_form->SB1->PanelText(1), QStringLiteral("V00007"));
    QCOMPARE(m_form->SB1->PanelText(5), QStringLiteral("P5"));
}

void TestRecording::valueAxisFollowsReadings()
{
    const double before = TiPlot::NowDays();
    receive("R01500");
    QCOMPARE(m_form->P1->YMin(), 0.0);
    QCOMPARE(m_form->P1->YSpan(), 1500.0);
    receive("R-0005");
    QCOMPARE(m_form->P1->YMin(), -5.0);
    QCOMPARE(m_form->P1->YSpan(), 1500.0);
    // the first point moved the time window from day 0 to the present
    QVERIFY(m_form->P1->XMin() >= before - 1e-6);
    QVERIFY(m_form->P1->XMin() <= TiPlot::NowDays());
}

QTEST_MAIN(TestRecording)
#include "tst_recording.moc"
