// The bytes the device sends, one line at a time: readings (or a raw P packet) in the chosen
// framing, with whatever faults are due, and the simulated time the line takes.
#pragma once

#include "EngineModel.h"
#include "Options.h"

#include <random>
#include <string>
#include <vector>

struct Piece
{
    std::string bytes;
    int pauseMs = 0;    // real time to wait before writing this piece
};

struct Step
{
    std::vector<Piece> pieces;
    double seconds = 0;     // simulated time: the bytes' time on the wire, or 1/rate if longer
};

// Five characters: "00123", or "-0012" for a negative value; clamped to what fits.
std::string valueText(int value);

class LineStream
{
public:
    static constexpr int kPacketEvery = 50;     // about one line in this many is a P packet

    explicit LineStream(const BenchOptions &options);

    void setSetPoint(int setPoint) { m_engine.setSetPoint(setPoint); }
    Step next();

private:
    bool due(double chance);
    int between(int low, int high);
    std::string readings();
    void applyFaults(std::string &line);
    std::string terminator();
    std::string randomBytes(int n);
    std::string filler(int n);

    const BenchOptions m_options;
    std::mt19937 m_random;
    EngineModel m_engine;
    int m_nextTag = 0;          // single framing: V, A, R, C in turn
    int m_packet = 0;
};
