// A pseudo-terminal that plays the measuring device: what the test writes on the master side
// arrives on the slave device that the recorder opens, and back.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

class Pty
{
public:
    Pty()
    {
        char name[256];
        termios raw{};
        cfmakeraw(&raw);
        if (openpty(&m_master, &m_slave, name, &raw, nullptr) == 0) {
            m_slavePath = QString::fromLocal8Bit(name);
            fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        }
    }
    ~Pty()
    {
        closeMaster();
        if (m_slave >= 0)
            ::close(m_slave);
    }
    Pty(const Pty &) = delete;
    Pty &operator=(const Pty &) = delete;

    bool isOpen() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }
    // The test's own descriptor of the device side, to look at its settings.
    int slaveFd() const { return m_slave; }

    // Writes all of bytes to the device's side of the line. While the line is full, lets the
    // event loop run, so that the recorder in the same thread takes what waits.
    bool write(const QByteArray &bytes)
    {
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            if (n > 0)
                done += n;
            else
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

    // What the recorder sent, collected until timeoutMs pass with nothing more. The event loop
    // runs meanwhile, since the recorder in the same thread sends from it.
    QByteArray read(int timeoutMs = 200)
    {
        QByteArray got;
        char buffer[256];
        QDeadlineTimer quiet(timeoutMs);
        while (!quiet.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (!waitFor(POLLIN, 5))
                continue;
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n <= 0)
                break;
            got.append(buffer, n);
            quiet.setRemainingTime(timeoutMs);
        }
        return got;
    }

    // The device hangs up.
    void closeMaster()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    bool waitFor(short events, int timeoutMs)
    {
        pollfd p{m_master, events, 0};
        return ::poll(&p, 1, timeoutMs) > 0 && (p.revents & events);
    }

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
