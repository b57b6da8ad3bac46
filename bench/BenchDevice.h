// Runs tools/bench-device beside a recorder window in a scratch folder, linked as COM1, and
// reads its summary at the end.
#pragma once

#include "config/ConfigData.h"
#include "platform/ComPort.h"
#include "ui/FormMain.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

class BenchDevice
{
public:
    explicit BenchDevice(const QStringList &arguments)
    {
        QDir::setCurrent(m_dir.path());
        m_process.start(QStringLiteral(BENCH_DEVICE_PATH), QStringList{"--link", m_dir.filePath("COM1")} + arguments);
        m_process.waitForReadyRead(5000);
        m_path = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }

    QString path() const { return m_path; }

    // A record for the linked device: port 1, 19200 baud, 8 data bits, multi-field lines.
    static void configure(int polling)
    {
        ConfigData.SetPort("1");
        ConfigData.SetLine(0, 0, 1, 0);
        ConfigData.SetPolling(polling);
        ConfigData.SetV(0, 20, 0.1, 1);
        ConfigData.SetA(0, 30, 0.01, 2);
        ConfigData.SetR(0, 3000, 1.0, 0);
        ConfigData.SetC(0, 120, 0.1, 1);
    }

    // Configures the recorder for the device and opens the port; false, with a word on standard
    // error, when it did not open.
    static bool openRecorder(TFormMain &form, int polling)
    {
        configure(polling);
        form.ConfigProgram();
        if (form.CP1->Connected())
            return true;
        std::fprintf(stderr, "could not open the bench device: %s\n", qPrintable(form.CP1->Status()));
        return false;
    }

    // Waits for the device to end; returns the lines and bytes it says it sent.
    bool finish(long long &lines, long long &bytes, int timeoutMs)
    {
        if (!m_process.waitForFinished(timeoutMs)) {
            m_process.terminate();
            m_process.waitForFinished(2000);
        }
        const QString summary = QString::fromLocal8Bit(m_process.readAllStandardError());
        const QRegularExpression re(QStringLiteral("(\\d+) lines?, (\\d+) bytes? sent"));
        const auto match = re.match(summary);
        if (!match.hasMatch())
            return false;
        lines = match.captured(1).toLongLong();
        bytes = match.captured(2).toLongLong();
        return true;
    }

    // Stops the device; returns its summary line.
    QString stop()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
        return QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed();
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_path;
};

// Processor seconds used by this process (user and system).
inline double cpuSeconds(int who = RUSAGE_SELF)
{
    rusage u{};
    getrusage(who, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}
