// One run of the device on its pseudo-terminal.
#include "Session.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kPollSliceMs = 50;            // how often a blocked wait looks at the clock
constexpr int kBacklogMaxBytes = 2048;      // paced: beyond a second's bytes (and this) is lost
constexpr auto kBehindMax = std::chrono::milliseconds(500);
constexpr auto kQuietToDrain = std::chrono::milliseconds(50);
constexpr int kSetPointMin = 1;
constexpr int kSetPointMax = 99;

std::chrono::steady_clock::duration seconds(double s)
{
    return std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(s));
}

std::string counted(long long n, const char *what)
{
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

} // namespace

Session::Session(const BenchOptions &options, PtyDevice &device, const volatile std::sig_atomic_t &stop)
    : m_options(options)
    , m_device(device)
    , m_stop(stop)
    , m_stream(options)
    , m_start(Clock::now())
{
}

Session::Stop Session::stopReason() const
{
    if (m_stop)
        return Stop::Signal;
    const auto elapsed = Clock::now() - m_start;
    if (m_options.hangupAfter > 0 && elapsed >= seconds(m_options.hangupAfter))
        return Stop::HangUp;
    if (m_options.duration > 0 && elapsed >= seconds(m_options.duration))
        return Stop::Duration;
    return Stop::None;
}

// Until the given time, but never past the hang-up or the end of the run, and in slices so that
// a signal is noticed soon.
int Session::pollTimeoutMs(Clock::time_point until) const
{
    if (m_options.hangupAfter > 0)
        until = std::min(until, m_start + seconds(m_options.hangupAfter));
    if (m_options.duration > 0)
        until = std::min(until, m_start + seconds(m_options.duration));
    const auto left = std::chrono::duration<double, std::milli>(until - Clock::now()).count();
    return std::clamp(static_cast<int>(std::ceil(left)), 0, kPollSliceMs);
}

void Session::serveInput()
{
    unsigned char buffer[256];
    ssize_t n;
    while ((n = ::read(m_device.master(), buffer, sizeof buffer)) > 0) {
        for (ssize_t k = 0; k < n; ++k) {
            const int b = buffer[k];
            if (b >= kSetPointMin && b <= kSetPointMax) {
                ++m_setPoints;
                m_stream.setSetPoint(b);
                std::printf("set-point %d\n", b);
            } else {
                ++m_ignored;
                std::printf("ignored byte 0x%02X (set-points are %d to %d)\n", unsigned(b), kSetPointMin,
                            kSetPointMax);
            }
        }
        std::fflush(stdout);
    }
}

bool Session::waitUntil(Clock::time_point t)
{
    for (;;) {
        if (stopReason() != Stop::None)
            return false;
        if (Clock::now() >= t)
            return true;
        pollfd p{m_device.master(), POLLIN, 0};
        if (::poll(&p, 1, pollTimeoutMs(t)) > 0 && (p.revents & POLLIN))
            serveInput();
    }
}

// Blocks while the line is full, as a device with flow control would; the set-points are served
// meanwhile.
bool Session::writeFast(const std::string &bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        if (stopReason() != Stop::None)
            return false;
        pollfd p{m_device.master(), POLLIN | POLLOUT, 0};
        if (::poll(&p, 1, kPollSliceMs) <= 0)
            continue;
        if (p.revents & POLLIN)
            serveInput();
        if (p.revents & POLLOUT) {
            const ssize_t n = ::write(m_device.master(), bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += size_t(n);
                m_bytesSent += n;
            }
        }
    }
    return true;
}

// A real line does not wait for its reader: what nobody takes within about a second is lost.
void Session::writePaced(const std::string &bytes)
{
    const int backlogMax = std::min(m_options.baud / 10, kBacklogMaxBytes);
    const int backlog = m_device.queued();
    if (backlog > backlogMax) {
        m_device.dropQueued();
        m_bytesLost += backlog;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_device.master(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += size_t(n);
    }
    m_bytesSent += static_cast<long long>(done);
    m_bytesLost += static_cast<long long>(bytes.size() - done);
}

bool Session::write(const std::string &bytes)
{
    if (m_options.fast)
        return writeFast(bytes);
    writePaced(bytes);
    return true;
}

// The last lines may still wait in the line; hanging up now would throw them away.
void Session::linger()
{
    const auto deadline = Clock::now() + seconds(m_options.linger);
    auto quietSince = Clock::now();
    while (Clock::now() < deadline && !m_stop) {
        if (m_device.queued() > 0)
            quietSince = Clock::now();
        else if (Clock::now() - quietSince >= kQuietToDrain)
            return;
        pollfd p{m_device.master(), POLLIN, 0};
        if (::poll(&p, 1, 10) > 0 && (p.revents & POLLIN))
            serveInput();
    }
}

void Session::run()
{
    // Wall-clock schedule of the next line: the line's time on the wire when paced, 1/rate when
    // fast with a cap; nothing when fast without one.
    auto lineStart = Clock::now() + seconds(m_options.wait);
    while (m_options.count == 0 || m_lines < m_options.count) {
        if (!waitUntil(lineStart))
            break;
        if (Clock::now() - lineStart > kBehindMax)
            lineStart = Clock::now(); // fell far behind (stopped, swapped out): no burst to catch up

        const Step step = m_stream.next();
        bool complete = true;
        for (const Piece &piece : step.pieces) {
            if (piece.pauseMs > 0 && !waitUntil(Clock::now() + std::chrono::milliseconds(piece.pauseMs))) {
                complete = false;
                break;
            }
            if (!write(piece.bytes)) {
                complete = false;
                break;
            }
        }
        if (!complete)
            break;
        ++m_lines;

        if (!m_options.fast)
            lineStart += seconds(step.seconds);
        else if (m_options.rate > 0)
            lineStart += seconds(1 / m_options.rate);
    }

    const Stop reason = stopReason();
    if (reason == Stop::HangUp) {
        m_hungUp = true;
    } else if (reason == Stop::None || reason == Stop::Duration) {
        linger();
        serveInput();
    }
    m_device.hangUp();
}

std::string Session::summary() const
{
    std::string text = "bench-device: " + counted(m_lines, "line") + ", " + counted(m_bytesSent, "byte") + " sent, "
                       + counted(m_setPoints, "set-point") + " received";
    if (m_ignored > 0)
        text += ", " + counted(m_ignored, "other byte") + " ignored";
    if (m_bytesLost > 0)
        text += ", " + counted(m_bytesLost, "byte") + " lost unread";
    if (m_hungUp)
        text += ", hung up";
    return text;
}
