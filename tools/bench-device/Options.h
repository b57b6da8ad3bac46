// Command-line options of the bench device: what it streams, how fast, and which faults it mixes in.
#pragma once

#include <cstdint>
#include <string>

enum class Framing { Multi, Single };

struct BenchOptions
{
    static constexpr uint32_t kDefaultSeed = 20240611u;

    Framing framing = Framing::Multi;
    int baud = 19200;
    bool fast = false;              // write as fast as the reader takes, not at the baud rate
    double rate = 0;                // at most this many lines per second; 0: no cap
    double duration = 0;            // seconds of wall time; 0: until killed
    long long count = 0;            // lines; 0: no limit
    std::string link;               // symbolic link to the slave device; empty: none
    uint32_t seed = kDefaultSeed;
    double linger = 2;              // seconds to wait at the end for the queued bytes to be read
    double wait = 0;                // seconds to wait before the first line
    double hangupAfter = 0;         // seconds of wall time; 0: never

    // Faults, each the chance per line (0 off, 1 every line).
    double split = 0;
    double crlf = 0;
    double crEtx = 0;
    double etx = 0;
    double lfInside = 0;
    double nul = 0;
    double lower = 0;
    double garbage = 0;
    int overlong = 0;               // length of an unterminated line; 0: off
    double overlongRate = 0;
    bool garbageOnly = false;
};

enum class ParseResult { Run, Help, Version, Error };

// Fills options from argv. On Error, error holds a one-line message.
ParseResult parseOptions(int argc, char **argv, BenchOptions &options, std::string &error);

const char *helpText();
