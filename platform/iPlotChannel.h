// One trace of the strip chart: (time, value) points kept in the chart's graph, in time order.
#pragma once

#include <QColor>
#include <QObject>
#include <QString>

class QCPGraph;

class TiPlotChannel : public QObject
{
    Q_OBJECT

public:
    // graph is owned by its QCustomPlot and must outlive the channel; TiPlot sees to that.
    TiPlotChannel(QCPGraph *graph, const QString &name, const QString &titleText,
                  const QColor &color, QObject *parent = nullptr);

    QString Name() const;
    QString TitleText() const;   // the legend text
    QColor Color() const;
    QCPGraph *Graph() const;

    // Adds (present local date and time in days since 1899-12-30, value).
    void AddYNow(double value);
    // Adds (x days, y). Points are kept sorted by time: a point after the last one is appended,
    // an earlier one (the clock set back) is inserted in its place, which costs a move of the
    // later points.
    void AddXY(double x, double y);
    // Removes every point and gives their memory back; the axes keep their ranges.
    void Clear();

    int Count() const;
    // Time and value of point index, 0 <= index < Count(), in time order; NaN outside.
    double X(int index) const;
    double Y(int index) const;

signals:
    void PointAdded(double x, double y);
    void Cleared();

private:
    QCPGraph *m_graph;
    QString m_name;
    QString m_titleText;
    QColor m_color;
};
