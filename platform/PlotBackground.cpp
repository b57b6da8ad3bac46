// Background of the strip chart.
#include "platform/PlotBackground.h"

#include <algorithm>
#include <cmath>

QImage RectangleOutGradient(const QSize &size, const QColor &centre, const QColor &edge)
{
    QImage image(size, QImage::Format_RGB32);
    const double halfW = size.width() / 2.0;
    const double halfH = size.height() / 2.0;
    auto mix = [](int a, int b, double f) { return int(std::lround(a + (b - a) * f)); };
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        // pixel centres, so a pixel on the border is not quite at the edge colour
        const double fy = std::abs(y + 0.5 - halfH) / halfH;
        for (int x = 0; x < size.width(); ++x) {
            const double fx = std::abs(x + 0.5 - halfW) / halfW;
            const double f = std::min(1.0, std::max(fx, fy));
            line[x] = qRgb(mix(centre.red(), edge.red(), f), mix(centre.green(), edge.green(), f),
                           mix(centre.blue(), edge.blue(), f));
        }
    }
    return image;
}
