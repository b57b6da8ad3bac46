// Data cursor of the strip chart.
#include "platform/PlotCursor.h"

#include <qcustomplot.h>

#include <cmath>
#include <limits>

namespace {

const QColor kLineColor(255, 255, 255, 170);
const QColor kMarkerPenColor(Qt::white);
const QColor kLabelText(Qt::white);
const QColor kLabelBackground(0, 0, 0, 170);
const QColor kLabelBorder(255, 255, 255, 110);
const QMargins kLabelPadding(4, 2, 4, 2);

void PutOnPlot(QCPItemPosition *position, QCustomPlot *plot)
{
    position->setType(QCPItemPosition::ptPlotCoords);
    position->setAxes(plot->xAxis, plot->yAxis);
}

} // namespace

int NearestPointIndex(const QCPGraph &graph, const QPointF &pixel, double *distancePx)
{
    const QSharedPointer<QCPGraphDataContainer> data = graph.data();
    const QCPAxis *keyAxis = graph.keyAxis();
    const QCPAxis *valueAxis = graph.valueAxis();
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    if (data->isEmpty() || !keyAxis || !valueAxis) {
        *distancePx = bestDistance;
        return best;
    }

    // Distance of point i, or NaN for a gap (a value that is not a number), which never wins.
    const auto distance = [&](int i, double *dxPx) {
        const QCPGraphData &point = *data->at(i);
        *dxPx = std::abs(keyAxis->coordToPixel(point.key) - pixel.x());
        const double dy = valueAxis->coordToPixel(point.value) - pixel.y();
        return std::hypot(*dxPx, dy);
    };
    const auto consider = [&](int i) {
        double dx = 0;
        const double d = distance(i, &dx);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
        return dx;   // the search on this side ends once dx alone is no better
    };

    const double key = keyAxis->pixelToCoord(pixel.x());
    const int start = int(data->findBegin(key, false) - data->constBegin());
    const int count = data->size();
    for (int i = start; i < count; ++i) {
        if (!(consider(i) < bestDistance))
            break;
    }
    for (int i = start - 1; i >= 0; --i) {
        if (!(consider(i) < bestDistance))
            break;
    }
    *distancePx = bestDistance;
    return best;
}

PlotCursor::PlotCursor(QCustomPlot *plot) : m_plot(plot)
{
    // above the traces and the legend, below the zoom box
    m_plot->addLayer(kLayerName, m_plot->layer("legend"), QCustomPlot::limAbove);
    m_layer = m_plot->layer(kLayerName);
    m_layer->setMode(QCPLayer::lmBuffered);
    m_layer->setVisible(false);

    m_line = new QCPItemStraightLine(m_plot);
    m_line->setLayer(m_layer);
    m_line->setSelectable(false);
    m_line->setPen(QPen(kLineColor, 1));
    PutOnPlot(m_line->point1, m_plot);
    PutOnPlot(m_line->point2, m_plot);

    m_marker = new QCPItemTracer(m_plot);
    m_marker->setLayer(m_layer);
    m_marker->setSelectable(false);
    m_marker->setStyle(QCPItemTracer::tsCircle);
    m_marker->setSize(kMarkerSizePx);
    m_marker->setPen(QPen(kMarkerPenColor, 1));
    PutOnPlot(m_marker->position, m_plot);

    m_label = new QCPItemText(m_plot);
    m_label->setLayer(m_layer);
    m_label->setSelectable(false);
    m_label->setColor(kLabelText);
    m_label->setBrush(QBrush(kLabelBackground));
    m_label->setPen(QPen(kLabelBorder, 1));
    m_label->setPadding(kLabelPadding);
    // the box hangs off the marker by a gap in pixels
    m_label->position->setType(QCPItemPosition::ptAbsolute);
    m_label->position->setParentAnchor(m_marker->position);

    ShowItems();
}

bool PlotCursor::IsVisible() const
{
    return m_visible;
}

void PlotCursor::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    m_layer->setVisible(visible);
    m_layer->replot();
}

PlotReading PlotCursor::Reading() const
{
    return m_reading;
}

QString PlotCursor::Text() const
{
    return m_label->text();
}

void PlotCursor::SetReading(const PlotReading &reading, const QString &text, const QColor &color)
{
    m_reading = reading;
    m_label->setText(text);
    m_marker->setBrush(QBrush(color));
    m_line->point1->setCoords(reading.x, 0);
    m_line->point2->setCoords(reading.x, 1);
    m_marker->position->setCoords(reading.x, reading.y);
    PlaceLabel();
    ShowItems();
    if (m_visible)
        m_layer->replot();
}

void PlotCursor::ShowItems()
{
    const bool valid = m_reading.channel >= 0;
    m_line->setVisible(valid);
    m_marker->setVisible(valid);
    m_label->setVisible(valid);
}

void PlotCursor::PlaceLabel()
{
    const QPointF point(m_plot->xAxis->coordToPixel(m_reading.x),
                        m_plot->yAxis->coordToPixel(m_reading.y));
    const QPointF middle = m_plot->axisRect()->rect().center();
    const bool toLeft = point.x() > middle.x();
    const bool below = point.y() < middle.y();
    m_label->setPositionAlignment((toLeft ? Qt::AlignRight : Qt::AlignLeft)
                                  | (below ? Qt::AlignTop : Qt::AlignBottom));
    m_label->position->setCoords(toLeft ? -kLabelGapPx : kLabelGapPx,
                                 below ? kLabelGapPx : -kLabelGapPx);
}
