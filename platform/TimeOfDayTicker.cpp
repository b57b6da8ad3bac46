// Ticker for a time axis in days.
#include "platform/TimeOfDayTicker.h"

#include "platform/PlotTime.h"

#include <QFontMetrics>

namespace {

const QString kWidestLabel = QStringLiteral("00:00:00");

} // namespace

TimeOfDayTicker::TimeOfDayTicker(QCPAxis *axis) : m_axis(axis) {}

double TimeOfDayTicker::MinLabelPitch() const
{
    const QFont font = m_axis ? m_axis->tickLabelFont() : QFont();
    return QFontMetrics(font).horizontalAdvance(kWidestLabel) + kLabelGapPx;
}

double TimeOfDayTicker::getTickStep(const QCPRange &range)
{
    // Ticks are made before the layout of a replot, so after a resize the axis rectangle still
    // has its old size; the viewport is already new and the margins hardly change.
    double length = 0;
    if (m_axis && m_axis->axisRect()) {
        const QRect viewport = m_axis->parentPlot()->viewport();
        const QMargins margins = m_axis->axisRect()->margins();
        length = m_axis->orientation() == Qt::Horizontal
                     ? viewport.width() - margins.left() - margins.right()
                     : viewport.height() - margins.top() - margins.bottom();
    }
    return TimeTickStepDays(range.size(), length, MinLabelPitch());
}

int TimeOfDayTicker::getSubTickCount(double tickStep)
{
    return TimeSubTickCount(tickStep);
}

QString TimeOfDayTicker::getTickLabel(double tick, const QLocale &, QChar, int)
{
    return TimeOfDayText(tick);
}
