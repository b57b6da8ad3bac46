// Chart scale: heap memory per point and the time to replot the ten-minute window once the
// chart holds 1, 10 and 25 million points (25 million is a day at full line rate, four channels).
#include "platform/iPlot.h"

#include <QApplication>
#include <QElapsedTimer>

#include <qcustomplot.h>

#include <cstdio>
#include <malloc.h>

namespace {

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double replotMs(TiPlot &plot, int times)
{
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < times; ++i)
        plot.Plot()->replot(QCustomPlot::rpImmediateRefresh);
    return clock.nsecsElapsed() / 1e6 / times;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TiPlot plot;
    plot.resize(785, 373);
    const QColor colours[] = {Qt::yellow, QColor(128, 255, 255), Qt::red, Qt::green};
    const char *names[] = {"V", "A", "R", "C"};
    for (int i = 0; i < 4; ++i)
        plot.AddChannel(names[i], names[i], colours[i]);
    plot.show();
    QCoreApplication::processEvents();

    const long long steps[] = {1000000, 10000000, 25000000};
    const double day = 1.0;
    const double start = TiPlot::NowDays() - day;
    const double dx = day / 25000000.0 * 4;   // per point of one channel: a day holds 25 M in all
    long long added = 0;
    const size_t heapBefore = heapInUse();
    std::printf("%12s %14s %16s %16s\n", "points", "bytes/point", "replot ms", "add ns/point");
    for (long long target : steps) {
        QElapsedTimer clock;
        clock.start();
        const long long first = added;
        for (; added < target; ++added) {
            const int ch = int(added % 4);
            const long long n = added / 4;
            plot.GetChannel(ch)->AddXY(start + n * dx, 100.0 * ch + (n % 1000) * 0.1);
        }
        const double addNs = double(clock.nsecsElapsed()) / double(added - first);
        QCoreApplication::processEvents();
        const double perPoint = double(heapInUse() - heapBefore) / double(added);
        std::printf("%12lld %14.1f %16.2f %16.1f\n", added, perPoint, replotMs(plot, 20), addNs);
        std::fflush(stdout);
    }
    return 0;
}
