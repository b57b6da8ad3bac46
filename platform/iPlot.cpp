// Strip chart.
#include "platform/iPlot.h"

#include "platform/PlotBackground.h"
#include "platform/PlotTime.h"
#include "platform/PlotToolBar.h"
#include "platform/TimeOfDayTicker.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <cmath>
#include <limits>

namespace {

const QColor kBackgroundCentre(64, 0, 64);
const QColor kBackgroundEdge(0, 0, 111);
// The gradient is drawn once at this size and stretched to the chart, which keeps its shape.
constexpr QSize kBackgroundImageSize(256, 256);

const QColor kAxisColor(220, 220, 230);
const QColor kSubTickColor(170, 170, 190);
const QColor kLabelColor(Qt::white);
const QColor kGridColor(150, 150, 180);
const QColor kSubGridColor(110, 110, 150);

// Legend at the top left: the newest points come in at the right edge.
const QColor kLegendBackground(0, 0, 0, 90);
const QColor kLegendBorder(255, 255, 255, 80);
constexpr QSize kLegendIconSize(20, 10);
const QMargins kLegendMargins(5, 2, 5, 2);
const QMargins kLegendInset(6, 6, 6, 6);   // from the corner of the plotting area
constexpr Qt::Alignment kLegendAlignment = Qt::AlignTop | Qt::AlignLeft;

const QColor kZoomBoxPen(255, 255, 255, 200);
const QColor kZoomBoxFill(255, 255, 255, 40);

void StyleAxis(QCPAxis *axis)
{
    axis->setBasePen(QPen(kAxisColor, 1));
    axis->setTickPen(QPen(kAxisColor, 1));
    axis->setSubTickPen(QPen(kSubTickColor, 1));
    axis->setTickLabelColor(kLabelColor);
    axis->grid()->setVisible(true);
    axis->grid()->setPen(QPen(kGridColor, 1, Qt::DotLine));
    axis->grid()->setZeroLinePen(QPen(kGridColor, 1, Qt::DotLine));
    axis->grid()->setSubGridVisible(false);
    axis->grid()->setSubGridPen(QPen(kSubGridColor, 1, Qt::DotLine));
}

} // namespace

TiPlot::TiPlot(QWidget *parent)
    : QWidget(parent),
      m_layout(new QVBoxLayout(this)),
      m_toolBar(new PlotToolBar(this)),
      m_plot(new QCustomPlot(this)),
      m_cursor(m_plot)
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_toolBar);
    m_layout->addWidget(m_plot);

    m_plot->setBackground(QBrush(kBackgroundEdge));
    m_plot->setBackground(
        QPixmap::fromImage(RectangleOutGradient(kBackgroundImageSize, kBackgroundCentre,
                                                kBackgroundEdge)),
        true, Qt::IgnoreAspectRatio);
    SetupAxes();
    SetupLegend();
    SetupToolBar();
    ApplyMouseActions();

    m_replotTimer.setSingleShot(true);
    m_replotTimer.setInterval(kReplotDelayMs);
    connect(&m_replotTimer, &QTimer::timeout, m_plot, [this] { m_plot->replot(); });
}

void TiPlot::SetupAxes()
{
    QCPAxis *timeAxis = m_plot->xAxis;
    QCPAxis *valueAxis = m_plot->yAxis;
    timeAxis->setTicker(QSharedPointer<QCPAxisTicker>(new TimeOfDayTicker(timeAxis)));
    StyleAxis(timeAxis);
    StyleAxis(valueAxis);
    timeAxis->setRange(m_time.min, m_time.min + m_time.span);
    valueAxis->setRange(m_value.min, m_value.min + m_value.span);
    connect(timeAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this,
            &TiPlot::TimeAxisChanged);
    connect(valueAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this,
            &TiPlot::ValueAxisChanged);
}

// Chart objects are not selectable and open no editors; the legend only names the traces.
void TiPlot::SetupLegend()
{
    QCPLegend *legend = m_plot->legend;
    legend->setVisible(true);
    legend->setFillOrder(QCPLayoutGrid::foRowsFirst);
    legend->setTextColor(kLabelColor);
    legend->setBrush(QBrush(kLegendBackground));
    legend->setBorderPen(QPen(kLegendBorder, 1));
    legend->setIconSize(kLegendIconSize);
    legend->setMargins(kLegendMargins);
    legend->setRowSpacing(0);
    legend->setSelectableParts(QCPLegend::spNone);
    m_plot->axisRect()->insetLayout()->setInsetAlignment(0, kLegendAlignment);
    m_plot->axisRect()->insetLayout()->setMargins(kLegendInset);
}

void TiPlot::SetupToolBar()
{
    using Tool = PlotToolBar::Tool;
    QAction *tracking = m_toolBar->Action(Tool::Tracking);
    connect(tracking, &QAction::toggled, this,
            [this](bool paused) { SetTrackingEnabled(!paused); });
    connect(this, &TiPlot::TrackingEnabledChanged, tracking,
            [tracking](bool enabled) { tracking->setChecked(!enabled); });

    connect(m_toolBar->Action(Tool::ScrollMode), &QAction::triggered, this,
            [this] { SetAxesMode(AxesMode::Scroll); });
    connect(m_toolBar->Action(Tool::ZoomMode), &QAction::triggered, this,
            [this] { SetAxesMode(AxesMode::Zoom); });
    connect(this, &TiPlot::AxesModeChanged, m_toolBar, [this](AxesMode mode) {
        m_toolBar->Action(mode == AxesMode::Scroll ? Tool::ScrollMode : Tool::ZoomMode)
            ->setChecked(true);
    });

    connect(m_toolBar->Action(Tool::ZoomOut), &QAction::triggered, this,
            [this] { ZoomAxes(kZoomInOutFactor); });
    connect(m_toolBar->Action(Tool::ZoomIn), &QAction::triggered, this,
            [this] { ZoomAxes(1 / kZoomInOutFactor); });

    QAction *zoomBox = m_toolBar->Action(Tool::ZoomBox);
    connect(zoomBox, &QAction::toggled, this, &TiPlot::SetZoomBoxActive);
    connect(this, &TiPlot::ZoomBoxActiveChanged, zoomBox, &QAction::setChecked);
    m_plot->selectionRect()->setPen(QPen(kZoomBoxPen, 1, Qt::DashLine));
    m_plot->selectionRect()->setBrush(QBrush(kZoomBoxFill));

    QAction *cursor = m_toolBar->Action(Tool::Cursor);
    connect(cursor, &QAction::toggled, this, &TiPlot::SetCursorVisible);
    connect(this, &TiPlot::CursorVisibleChanged, cursor, &QAction::setChecked);

    connect(m_toolBar->Action(Tool::Copy), &QAction::triggered, this, &TiPlot::CopyToClipboard);

    connect(m_plot, &QCustomPlot::mousePress, this, &TiPlot::MousePressed);
    connect(m_plot, &QCustomPlot::mouseMove, this, &TiPlot::MouseMoved);
    connect(m_plot, &QCustomPlot::mouseRelease, this, &TiPlot::MouseReleased);
}

// The wheel zooms both axes about the mouse in either mode; the chart's own range drag serves
// the scroll mode, and a drag in zoom mode is ours (MouseMoved). The zoom box takes the drag
// from both while it is on.
void TiPlot::ApplyMouseActions()
{
    QCP::Interactions interactions = QCP::iRangeZoom;
    if (m_axesMode == AxesMode::Scroll)
        interactions |= QCP::iRangeDrag;
    m_plot->setInteractions(interactions);
    m_plot->setSelectionRectMode(m_zoomBoxActive ? QCP::srmZoom : QCP::srmNone);
    // The chart connects its zoom to the box's signal when the mode is set; ours must come
    // after it, since turning the mode off disconnects the zoom before it would run.
    QCPSelectionRect *box = m_plot->selectionRect();
    disconnect(box, &QCPSelectionRect::accepted, this, &TiPlot::ZoomBoxDone);
    if (m_zoomBoxActive)
        connect(box, &QCPSelectionRect::accepted, this, &TiPlot::ZoomBoxDone);
}

void TiPlot::ZoomBoxDone()
{
    SetZoomBoxActive(false);
}

TiPlotChannel *TiPlot::AddChannel(const QString &name, const QString &titleText,
                                  const QColor &color)
{
    QCPGraph *graph = m_plot->addGraph(m_plot->xAxis, m_plot->yAxis);
    graph->setName(titleText);
    graph->setPen(QPen(color, kTraceWidth));
    graph->setLineStyle(QCPGraph::lsLine);
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
    graph->setAdaptiveSampling(true);

    auto *channel = new TiPlotChannel(graph, name, titleText, color, this);
    connect(channel, &TiPlotChannel::PointAdded, this, &TiPlot::PointAdded);
    connect(channel, &TiPlotChannel::Cleared, this, &TiPlot::ChannelCleared);
    m_channels.append(channel);
    ScheduleReplot();
    return channel;
}

TiPlotChannel *TiPlot::GetChannel(int index) const
{
    return index >= 0 && index < m_channels.size() ? m_channels.at(index) : nullptr;
}

int TiPlot::ChannelCount() const
{
    return int(m_channels.size());
}

double TiPlot::XMin() const
{
    return m_time.min;
}

double TiPlot::XSpan() const
{
    return m_time.span;
}

double TiPlot::YMin() const
{
    return m_value.min;
}

double TiPlot::YSpan() const
{
    return m_value.span;
}

bool TiPlot::TrackingEnabled() const
{
    return m_trackingEnabled;
}

void TiPlot::SetTrackingEnabled(bool enabled)
{
    if (enabled == m_trackingEnabled)
        return;
    m_trackingEnabled = enabled;
    emit TrackingEnabledChanged(enabled);
}

TiPlot::AxesMode TiPlot::Mode() const
{
    return m_axesMode;
}

void TiPlot::SetAxesMode(AxesMode mode)
{
    if (mode == m_axesMode)
        return;
    m_axesMode = mode;
    m_dragZoom.active = false;
    ApplyMouseActions();
    emit AxesModeChanged(mode);
}

void TiPlot::ZoomAxes(double factor)
{
    SetTimeWindow(ScaledWindow(m_time, m_time.min + m_time.span / 2, factor));
    SetValueRange(ScaledWindow(m_value, m_value.min + m_value.span / 2, factor));
    ScheduleReplot();
}

bool TiPlot::ZoomBoxActive() const
{
    return m_zoomBoxActive;
}

void TiPlot::SetZoomBoxActive(bool active)
{
    if (active == m_zoomBoxActive)
        return;
    m_zoomBoxActive = active;
    m_dragZoom.active = false;
    ApplyMouseActions();
    emit ZoomBoxActiveChanged(active);
}

bool TiPlot::CursorVisible() const
{
    return m_cursor.IsVisible();
}

void TiPlot::SetCursorVisible(bool visible)
{
    if (visible == m_cursor.IsVisible())
        return;
    // the mouse is on the tool bar when the button is pressed: read at the middle until it
    // comes over the chart
    if (visible)
        MoveCursor(m_plot->axisRect()->rect().center());
    m_plot->setMouseTracking(visible);
    m_cursor.SetVisible(visible);
    emit CursorVisibleChanged(visible);
}

const PlotCursor &TiPlot::Cursor() const
{
    return m_cursor;
}

PlotReading TiPlot::CursorReading(const QPointF &pixel) const
{
    PlotReading reading;
    double nearest = std::numeric_limits<double>::infinity();
    for (int i = 0; i < m_channels.size(); ++i) {
        const QCPGraph *graph = m_channels.at(i)->Graph();
        double distance = 0;
        const int index = NearestPointIndex(*graph, pixel, &distance);
        if (index >= 0 && distance < nearest) {
            nearest = distance;
            const QCPGraphData &point = *graph->data()->at(index);
            reading = PlotReading{i, point.key, point.value};
        }
    }
    return reading;
}

QString TiPlot::CursorText(const QString &titleText, double x, double y)
{
    return QStringLiteral("%1  %2  %3")
        .arg(titleText, TimeOfDayText(x), QString::number(y, 'g', 10));
}

void TiPlot::CopyToClipboard() const
{
    QGuiApplication::clipboard()->setPixmap(m_plot->toPixmap());
}

AxisWindow TiPlot::ScaledWindow(AxisWindow window, double anchor, double factor)
{
    return AxisWindow{anchor - (anchor - window.min) * factor, window.span * factor};
}

QCustomPlot *TiPlot::Plot() const
{
    return m_plot;
}

PlotToolBar *TiPlot::ToolBar() const
{
    return m_toolBar;
}

double TiPlot::NowDays()
{
    return ::NowDays();
}

double TiPlot::DaysFromDateTime(const QDateTime &local)
{
    return ::DaysFromDateTime(local);
}

QString TiPlot::TimeOfDayText(double days)
{
    return ::TimeOfDayText(days);
}

void TiPlot::MousePressed(QMouseEvent *event)
{
    const QPointF pixel = event->position();
    m_dragZoom.active = m_axesMode == AxesMode::Zoom && !m_zoomBoxActive
                        && event->button() == Qt::LeftButton
                        && m_plot->axisRect()->rect().contains(pixel.toPoint());
    if (!m_dragZoom.active)
        return;
    m_dragZoom.pressPx = pixel;
    m_dragZoom.time = m_time;
    m_dragZoom.value = m_value;
    m_dragZoom.timeAnchor = m_plot->xAxis->pixelToCoord(pixel.x());
    m_dragZoom.valueAnchor = m_plot->yAxis->pixelToCoord(pixel.y());
}

void TiPlot::MouseMoved(QMouseEvent *event)
{
    if (m_dragZoom.active && event->buttons().testFlag(Qt::LeftButton)) {
        const QPointF drag = event->position() - m_dragZoom.pressPx;
        // from the window at the press, so going back to the press point undoes the zoom
        SetTimeWindow(ScaledWindow(m_dragZoom.time, m_dragZoom.timeAnchor,
                                   std::exp2(-drag.x() / kDragPxPerDoubling)));
        SetValueRange(ScaledWindow(m_dragZoom.value, m_dragZoom.valueAnchor,
                                   std::exp2(drag.y() / kDragPxPerDoubling)));
        ScheduleReplot();
    }
    if (m_cursor.IsVisible())
        MoveCursor(event->position());
}

void TiPlot::MouseReleased(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragZoom.active = false;
}

void TiPlot::MoveCursor(const QPointF &pixel)
{
    m_cursorPixel = pixel;
    const PlotReading reading = CursorReading(pixel);
    const TiPlotChannel *channel = GetChannel(reading.channel);
    if (!channel) {
        m_cursor.SetReading(reading, QString(), QColor());
        return;
    }
    m_cursor.SetReading(reading, CursorText(channel->TitleText(), reading.x, reading.y),
                        channel->Color());
}

// The point the cursor read may be gone.
void TiPlot::ChannelCleared()
{
    if (m_cursor.IsVisible())
        MoveCursor(m_cursorPixel);
    ScheduleReplot();
}

void TiPlot::PointAdded(double x, double y)
{
    // the first point ever, even one added while paused, uses up the first-point rule
    const bool first = !m_anyPointAdded;
    m_anyPointAdded = true;
    if (m_trackingEnabled) {
        SetTimeWindow(TrackTimeWindow(m_time, x, first));
        SetValueRange(TrackValueRange(m_value, y));
    }
    ScheduleReplot();
}

// The members hold the ranges as set, not as read back from the axes: QCPRange keeps the upper
// end, and XMin + XSpan recomputed from it would drift by rounding.
void TiPlot::SetTimeWindow(AxisWindow window)
{
    if (window.min == m_time.min && window.span == m_time.span)
        return;
    if (!QCPRange::validRange(window.min, window.min + window.span))
        return;
    m_time = window;
    m_plot->xAxis->setRange(m_time.min, m_time.min + m_time.span);
}

void TiPlot::SetValueRange(AxisWindow range)
{
    if (range.min == m_value.min && range.span == m_value.span)
        return;
    if (!QCPRange::validRange(range.min, range.min + range.span))
        return;
    m_value = range;
    m_plot->yAxis->setRange(m_value.min, m_value.min + m_value.span);
}

// A range set from outside (a zoom or a drag) becomes the window tracking works from.
void TiPlot::TimeAxisChanged(const QCPRange &range)
{
    if (range.lower == m_time.min && range.upper == m_time.min + m_time.span)
        return;
    m_time = AxisWindow{range.lower, range.size()};
    ScheduleReplot();
}

void TiPlot::ValueAxisChanged(const QCPRange &range)
{
    if (range.lower == m_value.min && range.upper == m_value.min + m_value.span)
        return;
    m_value = AxisWindow{range.lower, range.size()};
    ScheduleReplot();
}

void TiPlot::ScheduleReplot()
{
    if (!m_replotTimer.isActive())
        m_replotTimer.start();
}
