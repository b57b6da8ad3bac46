// Strip chart: channels of (time, value) points drawn against the time of day on one shared time
// axis and one shared value axis, which follow the newest points unless tracking is paused.
#pragma once

#include "platform/AxisTracking.h"
#include "platform/iPlotChannel.h"

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimer>
#include <QWidget>

class QCustomPlot;
class QCPRange;
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
    static constexpr int kReplotDelayMs = 40;

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

    // The chart itself, for the legend, the tool bar and the data cursor.
    QCustomPlot *Plot() const;

    // Days since 1899-12-30 00:00 local time, the time of day as fraction, millisecond resolution.
    static double NowDays();
    static double DaysFromDateTime(const QDateTime &local);
    // "hh:mm:ss", hours 00 to 23.
    static QString TimeOfDayText(double days);

signals:
    void TrackingEnabledChanged(bool enabled);

private:
    void PointAdded(double x, double y);
    void SetTimeWindow(AxisWindow window);
    void SetValueRange(AxisWindow range);
    void TimeAxisChanged(const QCPRange &range);
    void ValueAxisChanged(const QCPRange &range);
    void ScheduleReplot();
    void SetupAxes();

    QVBoxLayout *m_layout;   // holds the chart; a tool bar goes above it
    QCustomPlot *m_plot;
    QList<TiPlotChannel *> m_channels;
    AxisWindow m_time{0, kTimeSpan};
    AxisWindow m_value{0, kValueSpan};
    bool m_trackingEnabled = true;
    bool m_anyPointAdded = false;   // Clear does not reset it
    QTimer m_replotTimer;
};
