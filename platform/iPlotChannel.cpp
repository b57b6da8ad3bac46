// One trace of the strip chart.
#include "platform/iPlotChannel.h"

#include "platform/PlotTime.h"

#include <qcustomplot.h>

#include <limits>

TiPlotChannel::TiPlotChannel(QCPGraph *graph, const QString &name, const QString &titleText,
                             const QColor &color, QObject *parent)
    : QObject(parent), m_graph(graph), m_name(name), m_titleText(titleText), m_color(color)
{
}

QString TiPlotChannel::Name() const
{
    return m_name;
}

QString TiPlotChannel::TitleText() const
{
    return m_titleText;
}

QColor TiPlotChannel::Color() const
{
    return m_color;
}

QCPGraph *TiPlotChannel::Graph() const
{
    return m_graph;
}

void TiPlotChannel::AddYNow(double value)
{
    AddXY(NowDays(), value);
}

void TiPlotChannel::AddXY(double x, double y)
{
    m_graph->addData(x, y);
    emit PointAdded(x, y);
}

void TiPlotChannel::Clear()
{
    m_graph->data()->clear();
    // clear() keeps the capacity, which after a day of recording is hundreds of megabytes
    m_graph->data()->squeeze(true, true);
    emit Cleared();
}

int TiPlotChannel::Count() const
{
    return m_graph->data()->size();
}

double TiPlotChannel::X(int index) const
{
    if (index < 0 || index >= Count())
        return std::numeric_limits<double>::quiet_NaN();
    return m_graph->data()->at(index)->key;
}

double TiPlotChannel::Y(int index) const
{
    if (index < 0 || index >= Count())
        return std::numeric_limits<double>::quiet_NaN();
    return m_graph->data()->at(index)->value;
}
