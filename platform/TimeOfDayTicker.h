// Ticker for a time axis in days (see PlotTime.h): labels the time of day "hh:mm:ss" and picks a
// round step wide enough that the labels of the axis do not overlap at its present length.
#pragma once

#include <QPointer>
#include <qcustomplot.h>

class TimeOfDayTicker : public QCPAxisTicker
{
public:
    // Space kept free between two labels, in pixels.
    static constexpr int kLabelGapPx = 16;

    // axis is the axis this ticker is set on; its length and tick label font decide the step.
    explicit TimeOfDayTicker(QCPAxis *axis);

protected:
    double getTickStep(const QCPRange &range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale &locale, QChar formatChar,
                         int precision) override;

private:
    // Least distance between two labelled ticks, in pixels, for the axis' label font.
    double MinLabelPitch() const;

    QPointer<QCPAxis> m_axis;
};
