// End to end over a pseudo-terminal: the bench device sends multi-field lines as fast as the
// recorder takes them for a given time (60 s by default); prints bytes per second, the lines
// sent against the lines decoded (none may be lost) and the processor time used.
#include "BenchDevice.h"
#include "acquisition/Stats.h"
#include "platform/StatusBar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;

    // the device starts once the recorder has opened (and emptied) the line
    constexpr int kWait = 2;
    BenchDevice device({"--fast", "--wait", QString::number(kWait), "--duration", QString::number(seconds + kWait)});
    TFormMain form;
    FormMain = &form;
    if (!BenchDevice::openRecorder(form, 0))
        return 1;
    form.show();
    form.TimerPolling->start();
    // every P packet differs from the one before, so each shows as a change of panel 5
    long long packets = 0;
    QObject::connect(form.SB1, &TStatusBar::PanelTextChanged, [&](int panel, const QString &) {
        if (panel == 5)
            ++packets;
    });

    const double cpuBefore = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot((seconds + kWait) * 1000 + 1500, &app, &QCoreApplication::quit);   // the device's last bytes
    app.exec();
    const double elapsed = clock.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;

    long long linesSent = 0, bytesSent = 0;
    if (!device.finish(linesSent, bytesSent, 10000)) {
        std::fprintf(stderr, "no summary from the bench device\n");
        return 1;
    }
    const long long decoded = Stats.Count[chV] + packets;
    std::printf("duration            %.1f s\n", elapsed);
    std::printf("bytes sent          %lld (%.0f bytes/s over %d s)\n", bytesSent, bytesSent / double(seconds), seconds);
    std::printf("lines sent          %lld\n", linesSent);
    std::printf("lines decoded       %lld (%lld multi-field, %lld P packets)\n", decoded, (long long)Stats.Count[chV], packets);
    std::printf("lost                %lld\n", linesSent - decoded);
    std::printf("recorder CPU        %.1f s (%.0f %% of one core)\n", cpu, 100.0 * cpu / elapsed);
    std::printf("bench-device CPU    %.1f s\n", cpuSeconds(RUSAGE_CHILDREN));
    form.CP1->Close();
    return linesSent == decoded ? 0 : 2;
}
