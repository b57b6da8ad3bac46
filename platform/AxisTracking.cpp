// Axis tracking of the strip chart.
#include "platform/AxisTracking.h"

#include <cmath>

AxisWindow TrackTimeWindow(AxisWindow window, double t, bool firstPoint)
{
    if (!std::isfinite(t))
        return window;
    if (firstPoint && (t < window.min || t > window.min + window.span))
        window.min = t;
    if (t > window.min + window.span)
        window.min = t - window.span;
    if (t < window.min)
        window.min = t;
    return window;
}

AxisWindow TrackValueRange(AxisWindow range, double v)
{
    if (!std::isfinite(v))
        return range;
    if (v > range.min + range.span)
        range.span = v - range.min;
    if (v < range.min)
        range.min = v;
    return range;
}
