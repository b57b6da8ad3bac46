// Idle cost: processor time of the recorder over a given time (60 s by default) while it records
// at a 1-second sample time and the bench device streams at 19200 baud.
// bench_idle [SECONDS [--hidden]]: --hidden leaves the window unshown.
#include "BenchDevice.h"
#include "acquisition/Stats.h"
#include "platform/iPlot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const bool hidden = argc > 2 && QByteArray(argv[2]) == "--hidden";
    constexpr int kSettleMs = 2000;

    BenchDevice device({"--baud", "19200"});
    TFormMain form;
    FormMain = &form;
    if (!BenchDevice::openRecorder(form, 0))
        return 1;
    if (!hidden)   // hidden, the window paints nothing: what remains is the receive path
        form.show();
    form.TimerPolling->start();

    // measured from the end of the settling time to the end of the run, in one event loop
    int countBefore = 0;
    double cpuBefore = 0;
    QElapsedTimer clock;
    QTimer::singleShot(kSettleMs, [&] {
        countBefore = Stats.Count[chV];
        cpuBefore = cpuSeconds();
        clock.start();
    });
    QTimer::singleShot(kSettleMs + seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    const double elapsed = clock.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    const QString summary = device.stop();

    std::printf("duration            %.1f s\n", elapsed);
    std::printf("lines decoded       %d (%.0f lines/s)\n", Stats.Count[chV] - countBefore,
                (Stats.Count[chV] - countBefore) / elapsed);
    std::printf("chart points        %d on V\n", form.P1->GetChannel(0)->Count());
    std::printf("recorder CPU        %.2f s: %.2f %% of one core\n", cpu, 100.0 * cpu / elapsed);
    std::printf("%s\n", qPrintable(summary));
    form.CP1->Close();
    return 0;
}
