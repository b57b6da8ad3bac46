// Data cursor of the strip chart: a vertical line through the point it reads, a marker on that
// point and a box with the reading beside it, on a chart layer of their own so that moving the
// cursor redraws that layer only, not the traces.
#pragma once

#include <QColor>
#include <QPointF>
#include <QString>

class QCPGraph;
class QCPItemStraightLine;
class QCPItemText;
class QCPItemTracer;
class QCPLayer;
class QCustomPlot;

// A point read by the cursor: the channel's index and the point's time in days and value.
// channel is -1 when there is no point to read.
struct PlotReading
{
    int channel = -1;
    double x = 0;
    double y = 0;
};

// Index of the point of graph nearest to pixel (widget coordinates of the chart), the distance
// measured in pixels on the graph's axes; -1 for a graph without points. *distancePx receives
// the distance. The points must be in time order, as the chart keeps them; the search starts at
// the pixel's time and stops on each side where points are farther away in time alone than the
// nearest found.
int NearestPointIndex(const QCPGraph &graph, const QPointF &pixel, double *distancePx);

class PlotCursor
{
public:
    static constexpr double kMarkerSizePx = 8;
    static constexpr double kLabelGapPx = 6;   // between the marker and the box
    static constexpr const char *kLayerName = "cursor";

    // Adds the cursor's items to plot, which owns them; the cursor must not outlive plot.
    // Hidden at creation.
    explicit PlotCursor(QCustomPlot *plot);
    PlotCursor(const PlotCursor &) = delete;
    PlotCursor &operator=(const PlotCursor &) = delete;

    bool IsVisible() const;
    void SetVisible(bool visible);

    PlotReading Reading() const;
    QString Text() const;
    // Puts the line and the marker (in color) on the point read and text in the box, on the side
    // of the point facing the middle of the plotting area. A reading of channel -1 leaves the
    // cursor without line, marker or box until the next reading.
    void SetReading(const PlotReading &reading, const QString &text, const QColor &color);

private:
    void ShowItems();
    void PlaceLabel();

    QCustomPlot *m_plot;
    QCPLayer *m_layer;
    QCPItemStraightLine *m_line;
    QCPItemTracer *m_marker;
    QCPItemText *m_label;
    PlotReading m_reading;
    bool m_visible = false;
};
