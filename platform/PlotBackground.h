// Background of the strip chart: a gradient from a centre colour to an edge colour along
// rectangles growing from the centre, so the image can be stretched to any size.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

// The pixel at fraction f of the way from the centre to the border (the larger of its horizontal
// and vertical fractions) mixes the two colours in the ratio (1 - f) : f.
QImage RectangleOutGradient(const QSize &size, const QColor &centre, const QColor &edge);
