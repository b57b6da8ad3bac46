// One run of the device: writes the stream to the line at the chosen pace, reports the set-point
// bytes that come back, and stops at the count, the duration, the hang-up time or a signal.
#pragma once

#include "LineStream.h"
#include "Options.h"
#include "PtyDevice.h"

#include <chrono>
#include <csignal>
#include <string>

class Session
{
public:
    // stop is set from a signal handler.
    Session(const BenchOptions &options, PtyDevice &device, const volatile std::sig_atomic_t &stop);

    void run();
    // "N lines, N bytes sent, N set-points received" and whatever else happened.
    std::string summary() const;

private:
    using Clock = std::chrono::steady_clock;
    enum class Stop { None, Signal, HangUp, Duration };

    Stop stopReason() const;
    // Serves the incoming bytes until t; false when the run must stop first.
    bool waitUntil(Clock::time_point t);
    // false when the run must stop before all bytes are written.
    bool write(const std::string &bytes);
    bool writeFast(const std::string &bytes);
    void writePaced(const std::string &bytes);
    void serveInput();
    void linger();
    int pollTimeoutMs(Clock::time_point until) const;

    const BenchOptions m_options;
    PtyDevice &m_device;
    const volatile std::sig_atomic_t &m_stop;
    LineStream m_stream;
    Clock::time_point m_start;

    long long m_lines = 0;
    long long m_bytesSent = 0;
    long long m_bytesLost = 0;      // nobody read them in time (paced only)
    long long m_setPoints = 0;
    long long m_ignored = 0;        // received bytes outside 1..99
    bool m_hungUp = false;
};
