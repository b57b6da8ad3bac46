// Strip chart.
#include "platform/iPlot.h"

#include "platform/PlotBackground.h"
#include "platform/PlotTime.h"
#include "platform/TimeOfDayTicker.h"

#include <QVBoxLayout>
#include <qcustomplot.h>

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
    : QWidget(parent), m_layout(new QVBoxLayout(this)), m_plot(new QCustomPlot(this))
{
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_plot);

    m_plot->setBackground(QBrush(kBackgroundEdge));
    m_plot->setBackground(
        QPixmap::fromImage(RectangleOutGradient(kBackgroundImageSize, kBackgroundCentre,
                                                kBackgroundEdge)),
        true, Qt::IgnoreAspectRatio);
    SetupAxes();

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
    connect(channel, &TiPlotChannel::Cleared, this, &TiPlot::ScheduleReplot);
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

QCustomPlot *TiPlot::Plot() const
{
    return m_plot;
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
