// Decode throughput: 1 000 000 multi-field lines from a pseudo-terminal through the real receive
// handler, decoder, chart, meters, status bar and statistics panel of a shown window (offscreen).
// Prints lines per second, the ratio to what a 19200-baud line can carry, and peak memory.
#include "acquisition/Stats.h"
#include "config/ConfigData.h"
#include "platform/ComPort.h"
#include "ui/FormMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;

    int master = -1, slave = -1;
    char name[256];
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&master, &slave, name, &raw, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }

    ConfigData.SetV(0, 20, 0.1, 2);
    ConfigData.SetA(0, 30, 0.01, 2);
    ConfigData.SetR(0, 3000, 1.0, 0);
    ConfigData.SetC(-20, 120, 0.1, 1);
    TFormMain form;
    FormMain = &form;
    form.show();
    form.CP1->SetPort(QString::fromLocal8Bit(name));
    form.CP1->SetBaudRate(br19200);
    form.CP1->SetDataBits(dbEight);  // all a pseudo-terminal carries
    form.CP1->Open();

    // one line as the device sends it: "V01234A00456R01800C00251\r\n" with varying digits
    QByteArray stream;
    stream.reserve(qsizetype(lines) * 27);
    for (int i = 0; i < lines; ++i) {
        char line[64];
        const int n = std::snprintf(line, sizeof line, "V%05dA%05dR%05dC%05d\r\n", 100 + i % 100,
                                    400 + i % 50, 1500 + i % 500, 200 + i % 60);
        stream.append(line, n);
    }
    const double bytesPerLine = double(stream.size()) / lines;

    QElapsedTimer clock;
    clock.start();
    std::thread writer([&] {
        qsizetype done = 0;
        while (done < stream.size()) {
            const ssize_t n = ::write(master, stream.constData() + done, size_t(stream.size() - done));
            if (n > 0)
                done += n;
        }
    });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (Stats.Count[chC] >= lines)
            app.quit();
    });
    poll.start(1);
    app.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    writer.join();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double lineRate19200 = 19200.0 / 10.0 / bytesPerLine;  // 10 bits a byte on the line
    std::printf("lines               %d (%.1f bytes each)\n", lines, bytesPerLine);
    std::printf("time                %.3f s\n", seconds);
    std::printf("lines per second    %.0f\n", lines / seconds);
    std::printf("19200-baud line     %.0f lines/s: %.0f times that\n", lineRate19200, lines / seconds / lineRate19200);
    std::printf("readings counted    V %d  A %d  R %d  C %d\n", Stats.Count[chV], Stats.Count[chA],
                Stats.Count[chR], Stats.Count[chC]);
    std::printf("peak memory         %.1f MiB\n", usage.ru_maxrss / 1024.0);
    form.CP1->Close();
    ::close(slave);
    ::close(master);
    return 0;
}
