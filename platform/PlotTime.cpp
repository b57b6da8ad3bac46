// Time scale of the strip chart.
#include "platform/PlotTime.h"

#include <QTime>
#include <QtGlobal>

#include <cmath>
#include <limits>

namespace {

struct TimeStep
{
    int seconds;
    int subTicks;
};

// Steps up to one day, with sub-ticks on round seconds, minutes or hours.
constexpr TimeStep kTimeSteps[] = {
    {2, 1},      {5, 4},       {10, 1},      {15, 2},      {30, 1},      {60, 3},
    {120, 1},    {300, 4},     {600, 1},     {900, 2},     {1800, 1},    {3600, 3},
    {7200, 1},   {10800, 2},   {21600, 1},   {43200, 1},   {86400, 3},
};

constexpr double kMaxDayStep = 1e9;   // beyond any span a double of days can show usefully

} // namespace

double DaysFromDateTime(const QDateTime &dateTime)
{
    const QDateTime local = dateTime.toLocalTime();
    return double(ChartEpoch().daysTo(local.date()))
           + double(local.time().msecsSinceStartOfDay()) / kMsecsPerDay;
}

double NowDays()
{
    // Converting to local time asks the C library, which looks at the time-zone file on every
    // call; that is done once a second, and the milliseconds within the second are added on.
    // Zone offsets change only on whole seconds. Used from the user-interface thread only.
    static qint64 cachedSecond = std::numeric_limits<qint64>::min();
    static double cachedDays = 0;
    const qint64 ms = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = ms >= 0 ? ms / 1000 : (ms - 999) / 1000;
    if (second != cachedSecond) {
        cachedSecond = second;
        cachedDays = DaysFromDateTime(QDateTime::fromMSecsSinceEpoch(second * 1000));
    }
    return cachedDays + double(ms - second * 1000) / kMsecsPerDay;
}

QString TimeOfDayText(double days)
{
    if (!std::isfinite(days))
        return QString();
    qint64 ms = qRound64((days - std::floor(days)) * kMsecsPerDay);
    if (ms >= qint64(kMsecsPerDay))
        ms = 0;   // a fraction that rounds up to a whole day is midnight
    const int s = int(ms / 1000);
    return QString::asprintf("%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
}

double TimeTickStepDays(double spanDays, double lengthPx, double minPitchPx)
{
    if (!(spanDays > 0) || !(lengthPx > 0) || !std::isfinite(spanDays))
        return kMinTimeTickStep;
    const double pxPerDay = lengthPx / spanDays;
    for (const TimeStep &step : kTimeSteps) {
        const double days = step.seconds / kSecondsPerDay;
        if (days * pxPerDay >= minPitchPx)
            return days;
    }
    // whole days in a 1-2-5 progression
    for (double decade = 1; decade < kMaxDayStep; decade *= 10) {
        for (const double mantissa : {2.0, 5.0, 10.0}) {
            if (mantissa * decade * pxPerDay >= minPitchPx)
                return mantissa * decade;
        }
    }
    return kMaxDayStep;
}

int TimeSubTickCount(double stepDays)
{
    const double seconds = stepDays * kSecondsPerDay;
    for (const TimeStep &step : kTimeSteps) {
        if (std::abs(seconds - step.seconds) < 0.5)
            return step.subTicks;
    }
    if (stepDays < 1)
        return 0;
    // whole days: a 5 splits into single days, a 2 or a 10 into halves
    const double mantissa = stepDays / std::pow(10.0, std::floor(std::log10(stepDays)));
    return std::abs(mantissa - 5) < 0.5 ? 4 : 1;
}
