// Time scale of the strip chart: points are stamped in days since 1899-12-30 00:00 local time,
// the time of day being the fraction; conversions, labels and the choice of label step.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

constexpr double kSecondsPerDay = 86400.0;
constexpr double kMsecsPerDay = 86400000.0;
// Labelled ticks are never closer than this: 2 seconds.
constexpr double kMinTimeTickStep = 2.0 / kSecondsPerDay;

// Day 0 of the scale.
inline QDate ChartEpoch()
{
    return QDate(1899, 12, 30);
}

// Days since the epoch of the wall-clock date and time in local time (a time in another zone is
// converted first); millisecond resolution. The scale is linear: 1899-12-29 18:00 is -0.25.
double DaysFromDateTime(const QDateTime &dateTime);
// The present local date and time on that scale.
double NowDays();

// "hh:mm:ss" of the time of day in days, hours 00 to 23. The day fraction is rounded to the
// millisecond first, so a tick computed a hair below a whole second is named by that second.
// Empty for a value that is not finite.
QString TimeOfDayText(double days);

// Label step in days for a time axis showing spanDays over lengthPx pixels: the smallest of
// 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1, 2, 3, 6, 12 h, 1 day, then 2, 5, 10, 20,
// 50 ... days that puts labels at least minPitchPx apart. kMinTimeTickStep if the axis has no
// length or span.
double TimeTickStepDays(double spanDays, double lengthPx, double minPitchPx);

// Unlabelled ticks between two labelled ones, so that they fall on round times.
int TimeSubTickCount(double stepDays);
