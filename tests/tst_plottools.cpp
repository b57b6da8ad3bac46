// Strip chart tools: the legend, the tool bar's buttons (tracking, mouse modes, zooming, zoom box,
// data cursor, copy), the mouse actions on the plotting area and the cursor's reading.
#include "platform/PlotToolBar.h"
#include "platform/iPlot.h"
#include "ChartFixture.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QToolButton>
#include <QtTest>
#include <qcustomplot.h>

#include <cmath>

namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kT0 = 46367.25;   // 2026-12-11 06:00
// Pixels of the plotting area are whole numbers; a zoom box is one pixel wider than dragged.
constexpr double kPixelTolerance = 1.5;
// A span read back from an axis at day 46367 carries its rounding, some 1e-12 days.
constexpr double kSpanTolerance = 1e-9;

using Tool = PlotToolBar::Tool;

const QStringList kButtonNames{"TrackingButton", "ScrollModeButton", "ZoomModeButton",
                               "ZoomOutButton",  "ZoomInButton",     "ZoomBoxButton",
                               "CursorButton",   "CopyButton"};

// The mouse as the chart receives it, in Plot() coordinates.
void SendMouse(QWidget *target, QEvent::Type type, QPointF pos, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void Drag(QWidget *target, QPointF from, QPointF to)
{
    SendMouse(target, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(target, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    SendMouse(target, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

} // namespace

class TestPlotTools : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void legendNamesEachChannel();
    void toolBarHoldsTheChartTools();
    void pauseStopsTrackingResumeRestoresIt();
    void zoomOutAndIn_data();
    void zoomOutAndIn();
    void mouseDrag_data();
    void mouseDrag();
    void zoomBoxZoomsToRectangleOnce();
    void cursorShownAndHiddenByItsButton();
    void cursorReadsNearestPoint_data();
    void cursorReadsNearestPoint();
    void cursorText_data();
    void cursorText();
    void copyPutsChartOnClipboard();

private:
    void Press(Tool tool);
    QPointF Pixel(double x, double y) const;
    QPointF Coord(QPointF pixel) const;
    // A point of the plotting area at fractions of its width and height from its top left.
    QPointF AreaPoint(double fx, double fy) const;

    TiPlot *m_plot = nullptr;
};

void TestPlotTools::init()
{
    m_plot = NewWindowChart();
    m_plot->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_plot));
    m_plot->Plot()->replot();
}

void TestPlotTools::cleanup()
{
    delete m_plot;
    m_plot = nullptr;
}

void TestPlotTools::Press(Tool tool)
{
    auto *button = m_plot->ToolBar()->findChild<QToolButton *>(PlotToolBar::ObjectName(tool));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

QPointF TestPlotTools::Pixel(double x, double y) const
{
    return {m_plot->Plot()->xAxis->coordToPixel(x), m_plot->Plot()->yAxis->coordToPixel(y)};
}

QPointF TestPlotTools::Coord(QPointF pixel) const
{
    return {m_plot->Plot()->xAxis->pixelToCoord(pixel.x()),
            m_plot->Plot()->yAxis->pixelToCoord(pixel.y())};
}

QPointF TestPlotTools::AreaPoint(double fx, double fy) const
{
    const QRect area = m_plot->Plot()->axisRect()->rect();
    return {area.left() + fx * area.width(), area.top() + fy * area.height()};
}

void TestPlotTools::legendNamesEachChannel()
{
    const QCPLegend *legend = m_plot->Plot()->legend;
    QVERIFY(legend->visible());
    // one column: a line sample and the title, nothing else
    QCOMPARE(legend->itemCount(), 4);
    QCOMPARE(legend->columnCount(), 1);
    for (int i = 0; i < m_plot->ChannelCount(); ++i) {
        const TiPlotChannel *channel = m_plot->GetChannel(i);
        auto *item = qobject_cast<QCPPlottableLegendItem *>(legend->item(i));
        QVERIFY(item);
        QCOMPARE(item->plottable(), channel->Graph());
        QCOMPARE(item->plottable()->name(), channel->TitleText());
        QCOMPARE(item->plottable()->pen().color(), channel->Color());
        QCOMPARE(item->textColor(), QColor(Qt::white));
    }
    QVERIFY(legend->brush().color().alpha() < 255);   // the gradient shows through

    // inside the plotting area, in its top left corner
    const QRect area = m_plot->Plot()->axisRect()->rect();
    const QRect box = legend->outerRect();
    QVERIFY(area.contains(box));
    QVERIFY(box.top() - area.top() < box.height() / 2);
    QVERIFY(box.left() - area.left() < box.width() / 2);
}

void TestPlotTools::toolBarHoldsTheChartTools()
{
    const PlotToolBar *bar = m_plot->ToolBar();
    QCOMPARE(bar->orientation(), Qt::Horizontal);
    QVERIFY(bar->geometry().bottom() < m_plot->Plot()->geometry().top());

    QStringList names;
    for (QAction *action : bar->actions()) {
        if (action->isSeparator())
            continue;
        names.append(action->objectName());
        auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(action));
        QVERIFY(button);
        QCOMPARE(button->objectName(), action->objectName());
        QVERIFY(!action->icon().isNull());
        QVERIFY(!action->toolTip().isEmpty());
        // nothing to edit, save or print the chart with
        const QString words = (action->text() + ' ' + action->toolTip()).toLower();
        for (const char *banned : {"edit", "propert", "save", "print"})
            QVERIFY2(!words.contains(banned), qPrintable(words));
    }
    QCOMPARE(names, kButtonNames);

    const QList<Tool> checkable{Tool::Tracking, Tool::ScrollMode, Tool::ZoomMode, Tool::ZoomBox,
                                Tool::Cursor};
    for (int i = 0; i < PlotToolBar::kToolCount; ++i)
        QCOMPARE(bar->Action(Tool(i))->isCheckable(), checkable.contains(Tool(i)));

    // at start: scroll mode, tracking on, no zoom box, no cursor
    QVERIFY(bar->Action(Tool::ScrollMode)->isChecked());
    QVERIFY(!bar->Action(Tool::ZoomMode)->isChecked());
    QVERIFY(!bar->Action(Tool::Tracking)->isChecked());
    QVERIFY(!bar->Action(Tool::ZoomBox)->isChecked());
    QCOMPARE(m_plot->Mode(), TiPlot::AxesMode::Scroll);
    QCOMPARE(m_plot->Plot()->interactions(), QCP::iRangeDrag | QCP::iRangeZoom);
    QCOMPARE(m_plot->Plot()->selectionRectMode(), QCP::srmNone);

    // the mode buttons are exclusive and the chart follows them both ways
    Press(Tool::ZoomMode);
    QCOMPARE(m_plot->Mode(), TiPlot::AxesMode::Zoom);
    QVERIFY(!bar->Action(Tool::ScrollMode)->isChecked());
    QCOMPARE(m_plot->Plot()->interactions(), QCP::Interactions(QCP::iRangeZoom));
    m_plot->SetAxesMode(TiPlot::AxesMode::Scroll);
    QVERIFY(bar->Action(Tool::ScrollMode)->isChecked());
    QVERIFY(!bar->Action(Tool::ZoomMode)->isChecked());
}

void TestPlotTools::pauseStopsTrackingResumeRestoresIt()
{
    QAction *tracking = m_plot->ToolBar()->Action(Tool::Tracking);
    TiPlotChannel *v = m_plot->GetChannel(0);
    v->AddXY(kT0, 1);
    QCOMPARE(m_plot->XMin(), kT0);

    Press(Tool::Tracking);
    QVERIFY(!m_plot->TrackingEnabled());
    QVERIFY(tracking->isChecked());
    QVERIFY(tracking->toolTip().contains("Resume"));
    v->AddXY(kT0 + 30 * kMinute, 1500);
    QCOMPARE(m_plot->XMin(), kT0);
    QCOMPARE(m_plot->YSpan(), 10.0);

    // resuming moves nothing; the next point applies the rules
    Press(Tool::Tracking);
    QVERIFY(m_plot->TrackingEnabled());
    QVERIFY(!tracking->isChecked());
    QVERIFY(tracking->toolTip().contains("Pause"));
    QCOMPARE(m_plot->XMin(), kT0);
    v->AddXY(kT0 + 31 * kMinute, 2000);
    QCOMPARE(m_plot->XMin(), kT0 + 31 * kMinute - TiPlot::kTimeSpan);
    QCOMPARE(m_plot->YSpan(), 2000.0);

    // pausing from code shows on the button
    m_plot->SetTrackingEnabled(false);
    QVERIFY(tracking->isChecked());
}

void TestPlotTools::zoomOutAndIn_data()
{
    QTest::addColumn<QList<int>>("presses");   // Tool values
    QTest::addColumn<double>("factor");

    const int out = int(Tool::ZoomOut);
    const int in = int(Tool::ZoomIn);
    QTest::newRow("out") << QList<int>{out} << 2.0;
    QTest::newRow("in") << QList<int>{in} << 0.5;
    QTest::newRow("out twice") << QList<int>{out, out} << 4.0;
    QTest::newRow("out then in") << QList<int>{out, in} << 1.0;
}

void TestPlotTools::zoomOutAndIn()
{
    QFETCH(QList<int>, presses);
    QFETCH(double, factor);

    m_plot->GetChannel(1)->AddXY(kT0, -4);   // value range -4 .. 6, centre 1
    const double xCentre = m_plot->XMin() + m_plot->XSpan() / 2;
    const double yCentre = m_plot->YMin() + m_plot->YSpan() / 2;
    const double xSpan = m_plot->XSpan();
    const double ySpan = m_plot->YSpan();
    for (const int tool : presses)
        Press(Tool(tool));

    QCOMPARE(m_plot->XSpan(), xSpan * factor);
    QCOMPARE(m_plot->YSpan(), ySpan * factor);
    QCOMPARE(m_plot->XMin() + m_plot->XSpan() / 2, xCentre);
    QCOMPARE(m_plot->YMin() + m_plot->YSpan() / 2, yCentre);
    QVERIFY(std::abs(m_plot->Plot()->xAxis->range().size() - xSpan * factor) < kSpanTolerance);
    QCOMPARE(m_plot->Plot()->yAxis->range().center(), yCentre);
}

void TestPlotTools::mouseDrag_data()
{
    QTest::addColumn<TiPlot::AxesMode>("mode");
    QTest::addColumn<QPointF>("from");   // fractions of the plotting area
    QTest::addColumn<QPointF>("dragPx");
    QTest::addColumn<QPointF>("pinnedMovePx");   // how far the coordinates pressed move
    QTest::addColumn<double>("xFactor");
    QTest::addColumn<double>("yFactor");

    using M = TiPlot::AxesMode;
    QTest::newRow("scroll mode moves both axes with the mouse")
        << M::Scroll << QPointF(0.5, 0.5) << QPointF(-150, 60) << QPointF(-150, 60) << 1.0 << 1.0;
    QTest::newRow("zoom mode: right and up zoom in about the press")
        << M::Zoom << QPointF(0.3, 0.6) << QPointF(100, -100) << QPointF(0, 0) << 0.5 << 0.5;
    QTest::newRow("zoom mode: left and down zoom out")
        << M::Zoom << QPointF(0.7, 0.2) << QPointF(-200, 50) << QPointF(0, 0) << 4.0
        << std::sqrt(2.0);
    QTest::newRow("zoom mode: outside the plotting area nothing")
        << M::Zoom << QPointF(-0.02, 0.5) << QPointF(100, -100) << QPointF(0, 0) << 1.0
        << 1.0;
}

void TestPlotTools::mouseDrag()
{
    QFETCH(TiPlot::AxesMode, mode);
    QFETCH(QPointF, from);
    QFETCH(QPointF, dragPx);
    QFETCH(QPointF, pinnedMovePx);
    QFETCH(double, xFactor);
    QFETCH(double, yFactor);

    m_plot->GetChannel(0)->AddXY(kT0, 1);
    m_plot->Plot()->replot();
    m_plot->SetAxesMode(mode);
    const double xSpan = m_plot->XSpan();
    const double ySpan = m_plot->YSpan();
    const QPointF press = AreaPoint(from.x(), from.y());
    const QPointF pressed = Coord(press);
    Drag(m_plot->Plot(), press, press + dragPx);

    QVERIFY(std::abs(m_plot->XSpan() - xSpan * xFactor) < kSpanTolerance);
    QCOMPARE(m_plot->YSpan() / ySpan, yFactor);
    const QPointF pinned = Pixel(pressed.x(), pressed.y());
    QVERIFY2((pinned - press - pinnedMovePx).manhattanLength() < kPixelTolerance,
             qPrintable(QString("%1, %2").arg(pinned.x()).arg(pinned.y())));
    // tracking works on from the window the mouse left
    QCOMPARE(m_plot->Plot()->xAxis->range().lower, m_plot->XMin());
}

void TestPlotTools::zoomBoxZoomsToRectangleOnce()
{
    m_plot->GetChannel(0)->AddXY(kT0, 1);
    m_plot->Plot()->replot();
    QSignalSpy changed(m_plot, &TiPlot::ZoomBoxActiveChanged);
    Press(Tool::ZoomBox);
    QVERIFY(m_plot->ZoomBoxActive());
    QCOMPARE(m_plot->Plot()->selectionRectMode(), QCP::srmZoom);

    // a click without a drag leaves the box on
    // the box has whole pixels
    const QPointF a = AreaPoint(0.2, 0.3).toPoint();
    const QPointF b = AreaPoint(0.6, 0.8).toPoint();
    SendMouse(m_plot->Plot(), QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    SendMouse(m_plot->Plot(), QEvent::MouseButtonRelease, a, Qt::LeftButton, Qt::NoButton);
    QVERIFY(m_plot->ZoomBoxActive());

    const QPointF topLeft = Coord(a);
    const QPointF bottomRight = Coord(b);
    Drag(m_plot->Plot(), a, b);
    const QPointF area = AreaPoint(0, 0);
    const QPointF areaEnd = AreaPoint(1, 1);
    QVERIFY((Pixel(topLeft.x(), topLeft.y()) - area).manhattanLength() < kPixelTolerance);
    // a pixel of the box, 0.4 of the area wide and 0.5 high, becomes 2.5 and 2 pixels
    const QPointF farCorner = Pixel(bottomRight.x(), bottomRight.y());
    QVERIFY(std::abs(farCorner.x() - areaEnd.x()) < 2.5 * kPixelTolerance);
    QVERIFY(std::abs(farCorner.y() - areaEnd.y()) < 2 * kPixelTolerance);
    QCOMPARE(m_plot->XMin(), m_plot->Plot()->xAxis->range().lower);

    // then the box turns itself off, and so does its button
    QVERIFY(!m_plot->ZoomBoxActive());
    QVERIFY(!m_plot->ToolBar()->Action(Tool::ZoomBox)->isChecked());
    QCOMPARE(m_plot->Plot()->selectionRectMode(), QCP::srmNone);
    QCOMPARE(changed.count(), 2);
}

void TestPlotTools::cursorShownAndHiddenByItsButton()
{
    QAction *button = m_plot->ToolBar()->Action(Tool::Cursor);
    QVERIFY(!m_plot->CursorVisible());
    QVERIFY(!m_plot->Cursor().IsVisible());
    QVERIFY(!m_plot->Plot()->layer(PlotCursor::kLayerName)->visible());
    QVERIFY(!button->isChecked());

    QSignalSpy changed(m_plot, &TiPlot::CursorVisibleChanged);
    Press(Tool::Cursor);
    QVERIFY(m_plot->CursorVisible());
    QVERIFY(m_plot->Plot()->layer(PlotCursor::kLayerName)->visible());
    QVERIFY(m_plot->Plot()->hasMouseTracking());   // it follows the mouse without a button
    Press(Tool::Cursor);
    QVERIFY(!m_plot->CursorVisible());
    QVERIFY(!m_plot->Plot()->hasMouseTracking());

    m_plot->SetCursorVisible(true);
    QVERIFY(button->isChecked());
    QCOMPARE(changed.count(), 3);
}

void TestPlotTools::cursorReadsNearestPoint_data()
{
    QTest::addColumn<QPointF>("mouse");   // time in minutes after 06:00, value
    QTest::addColumn<QList<int>>("cleared");   // channels cleared after the mouse came
    QTest::addColumn<int>("channel");
    QTest::addColumn<QString>("text");

    // V: (1 min, 2) (2 min, 8) (3 min, 5); A: (1 min, 6) (2.5 min, 1); about 78 px a minute
    // and 30 px a unit
    using L = QList<int>;
    QTest::newRow("on a point") << QPointF(2, 8) << L{} << 0 << "V  06:02:00  8";
    QTest::newRow("same time, nearer value wins")
        << QPointF(1, 5.5) << L{} << 1 << "A  06:01:00  6";
    QTest::newRow("nearer in pixels beats same time")
        << QPointF(2.5, 7.5) << L{} << 0 << "V  06:02:00  8";
    QTest::newRow("after every point, the last") << QPointF(8, 5) << L{} << 0 << "V  06:03:00  5";
    QTest::newRow("before every point") << QPointF(0, 6.2) << L{} << 1 << "A  06:01:00  6";
    QTest::newRow("channel read cleared, the other one")
        << QPointF(2, 8) << L{0} << 1 << "A  06:01:00  6";
    QTest::newRow("no points at all") << QPointF(2, 8) << L{0, 1} << -1 << "";
}

void TestPlotTools::cursorReadsNearestPoint()
{
    QFETCH(QPointF, mouse);
    QFETCH(QList<int>, cleared);
    QFETCH(int, channel);
    QFETCH(QString, text);

    TiPlotChannel *v = m_plot->GetChannel(0);
    TiPlotChannel *a = m_plot->GetChannel(1);
    for (const QPointF &p : {QPointF(1, 2), QPointF(2, 8), QPointF(3, 5)})
        v->AddXY(kT0 + p.x() * kMinute, p.y());
    for (const QPointF &p : {QPointF(1, 6), QPointF(2.5, 1)})
        a->AddXY(kT0 + p.x() * kMinute, p.y());
    m_plot->Plot()->replot();
    Press(Tool::Cursor);
    SendMouse(m_plot->Plot(), QEvent::MouseMove, Pixel(kT0 + mouse.x() * kMinute, mouse.y()),
              Qt::NoButton, Qt::NoButton);
    // clearing re-reads where the mouse is
    for (const int i : cleared)
        m_plot->GetChannel(i)->Clear();

    const PlotReading reading = m_plot->Cursor().Reading();
    QCOMPARE(reading.channel, channel);
    QCOMPARE(m_plot->Cursor().Text(), text);
    if (channel < 0)
        return;
    const TiPlotChannel *read = m_plot->GetChannel(channel);
    QCOMPARE(TiPlot::CursorText(read->TitleText(), reading.x, reading.y), text);
    bool onAPoint = false;
    for (int i = 0; i < read->Count(); ++i)
        onAPoint |= read->X(i) == reading.x && read->Y(i) == reading.y;
    QVERIFY(onAPoint);
}

void TestPlotTools::cursorText_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("text");

    const double t = 46367 + (13 * 3600 + 4 * 60 + 5) / 86400.0;
    QTest::newRow("whole number") << "RPM" << t << 1500.0 << "RPM  13:04:05  1500";
    QTest::newRow("negative decimals") << "V" << t << -5.25 << "V  13:04:05  -5.25";
    QTest::newRow("rounding noise hidden") << "A" << t << 0.1 * 3 << "A  13:04:05  0.3";
    QTest::newRow("eight digits kept") << "C" << t << 12345678.0 << "C  13:04:05  12345678";
}

void TestPlotTools::cursorText()
{
    QFETCH(QString, title);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(QString, text);
    QCOMPARE(TiPlot::CursorText(title, x, y), text);
}

void TestPlotTools::copyPutsChartOnClipboard()
{
    QGuiApplication::clipboard()->clear();
    Press(Tool::Copy);
    const QImage image = QGuiApplication::clipboard()->image();
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), m_plot->Plot()->size());
    // the chart, not the tool bar: the corner has the background's edge colour
    QCOMPARE(image.pixelColor(0, 0), QColor(0, 0, 111));
}

QTEST_MAIN(TestPlotTools)
#include "tst_plottools.moc"
