// Strip chart: channels of (time, value) points drawn against the time of day on one shared time
// axis and one shared value axis, which follow the newest points unless tracking is paused;
// with a legend, a tool bar above and a data cursor.
#pragma once

#include "platform/AxisTracking.h"
#include "platform/PlotCursor.h"
#include "platform/iPlotChannel.h"

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QString>
#include <QTimer>
#include <QWidget>

class PlotToolBar;
class QCustomPlot;
class QCPRange;
class QMouseEvent;
class QVBoxLayout;

class TiPlot : public QWidget
{
    Q_OBJECT

public:
    static constexpr double kTimeSpan = 0.00694444444444444;   // initial time window, 10 minutes
    static constexpr double kValueSpan = 10;                   // initial value range
    static constexpr int kTraceWidth = 1;
    // Replots are coalesced: the first change after a replot schedules the next one this much
    // later, so a burst of points costs one replot and the chart redraws at most 25 times a second.
    static constexpr int kReplotDelayMs = 200;
    // The tool bar's zoom out and zoom in buttons scale every axis by this factor.
    static constexpr double kZoomInOutFactor = 2;
    // In zoom mode a drag of this many pixels halves (right, up) or doubles (left, down) a span.
    static constexpr double kDragPxPerDoubling = 100;

    // What a drag with the left button in the plotting area does; the wheel zooms in both.
    // Scroll: moves both axes. Zoom: scales them about the point pressed, each along its own
    // direction. Chosen on the tool bar; scroll at start.
    enum class AxesMode { Scroll, Zoom };
    Q_ENUM(AxesMode)

    explicit TiPlot(QWidget *parent = nullptr);

    // The new channel has index ChannelCount() - 1 and draws on the shared axes.
    TiPlotChannel *AddChannel(const QString &name, const QString &titleText, const QColor &color);
    // nullptr outside 0 .. ChannelCount() - 1.
    TiPlotChannel *GetChannel(int index) const;
    int ChannelCount() const;

    // Time window [XMin, XMin + XSpan] in days; value range [YMin, YMin + YSpan]. They follow
    // changes made on the axes of Plot() directly, such as a zoom.
    double XMin() const;
    double XSpan() const;
    double YMin() const;
    double YSpan() const;

    // While tracking is paused, new points do not move the axes.
    bool TrackingEnabled() const;
    void SetTrackingEnabled(bool enabled);

    AxesMode Mode() const;
    void SetAxesMode(AxesMode mode);

    // Scales every axis about its centre: a factor above 1 zooms out, below 1 zooms in.
    void ZoomAxes(double factor);
    // While on, a drag draws a box and the axes zoom to it; then it turns itself off. A click
    // without a drag, or Escape, leaves it on.
    bool ZoomBoxActive() const;
    void SetZoomBoxActive(bool active);

    // The data cursor follows the mouse over the chart and reads the nearest point.
    bool CursorVisible() const;
    void SetCursorVisible(bool visible);
    const PlotCursor &Cursor() const;
    // The point of any channel nearest to pixel (widget coordinates of Plot()), by distance in
    // pixels; ties go to the lower channel index. Channel -1 if no channel has points.
    PlotReading CursorReading(const QPointF &pixel) const;
    // "<title>  hh:mm:ss  <value>", the value with up to 10 significant digits.
    static QString CursorText(const QString &titleText, double x, double y);

    // Puts a picture of the chart, at its size on screen, on the clipboard.
    void CopyToClipboard() const;

    // window scaled by factor about anchor: the anchor keeps its place.
    static AxisWindow ScaledWindow(AxisWindow window, double anchor, double factor);

    // The chart itself, and the tool bar above it.
    QCustomPlot *Plot() const;
    PlotToolBar *ToolBar() const;

    // Days since 1899-12-30 00:00 local time, the time of day as fraction, millisecond resolution.
    static double NowDays();
    static double DaysFromDateTime(const QDateTime &local);
    // "hh:mm:ss", hours 00 to 23.
    static QString TimeOfDayText(double days);

signals:
    void TrackingEnabledChanged(bool enabled);
    void AxesModeChanged(TiPlot::AxesMode mode);
    void ZoomBoxActiveChanged(bool active);
    void CursorVisibleChanged(bool visible);

private:
    // The press of a drag in zoom mode: the spans scale from these.
    struct DragZoom
    {
        bool active = false;
        QPointF pressPx;
        AxisWindow time{0, 0};
        AxisWindow value{0, 0};
        double timeAnchor = 0;
        double valueAnchor = 0;
    };

    void SetupLegend();
    void SetupToolBar();
    void ApplyMouseActions();
    void ZoomBoxDone();
    void MousePressed(QMouseEvent *event);
    void MouseMoved(QMouseEvent *event);
    void MouseReleased(QMouseEvent *event);
    void MoveCursor(const QPointF &pixel);
    void ChannelCleared();
    void PointAdded(double x, double y);
    void SetTimeWindow(AxisWindow window);
    void SetValueRange(AxisWindow range);
    void TimeAxisChanged(const QCPRange &range);
    void ValueAxisChanged(const QCPRange &range);
    void ScheduleReplot();
    void SetupAxes();

    QVBoxLayout *m_layout;   // the tool bar above the chart
    PlotToolBar *m_toolBar;
    QCustomPlot *m_plot;
    PlotCursor m_cursor;
    QPointF m_cursorPixel;   // where the cursor reads, in Plot() coordinates
    AxesMode m_axesMode = AxesMode::Scroll;
    bool m_zoomBoxActive = false;
    DragZoom m_dragZoom;
    QList<TiPlotChannel *> m_channels;
    AxisWindow m_time{0, kTimeSpan};
    AxisWindow m_value{0, kValueSpan};
    bool m_trackingEnabled = true;
    bool m_anyPointAdded = false;   // Clear does not reset it
    QTimer m_replotTimer;
};
