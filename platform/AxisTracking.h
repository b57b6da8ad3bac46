// Axis tracking of the strip chart: how the time window and the value range follow the points
// added, so the newest data stay in view.
#pragma once

// An axis range [min, min + span].
struct AxisWindow
{
    double min;
    double span;
};

// The time window after a point at time t: the first point ever added to the chart, if outside,
// starts the window; a later point beyond the end scrolls the window so the point sits at the
// right edge; a point before the start (the clock set back) moves the start to it.
// A time that is not finite leaves the window.
AxisWindow TrackTimeWindow(AxisWindow window, double t, bool firstPoint);

// The value range after a point of value v: a value above the top raises the top to it, one
// below the bottom moves the whole range down so its bottom is v. The range never shrinks.
// A value that is not finite leaves the range.
AxisWindow TrackValueRange(AxisWindow range, double v);
