// Readings made up without a device: one single-packet line per channel and sample tick, from a
// pseudo-random generator that starts from the same state at every run.
#pragma once

#include "acquisition/Channel.h"

#include <cstdint>

// A 64-bit linear congruential generator whose outputs are its top 31 bits.
class TRandom
{
public:
    static constexpr uint64_t kSeed = 0x5EED0F0ED0C0FFEEull;

    // The next non-negative 31-bit output.
    int32_t Next31();
    // 0 to n - 1 (the next output modulo n); 0 when n is 0.
    int32_t Random(int32_t n);

private:
    uint64_t m_state = kSeed;
};

struct TSimulatedRow
{
    TChannel Channel;
    const char *Format;   // the tag, then a whole number of at least five digits
    int32_t Base;
    int32_t Range;        // the number is Base + Random(Range)
};

constexpr int kSimulatedRows = kChannelCount;
// In the order the lines are made: V, A, R, C.
constexpr TSimulatedRow SimulatedRows[kSimulatedRows] = {
    {chV, "V%05.f", 22, 200},
    {chA, "A%05.f", 22, 200},
    {chR, "R%05.f", 1800, 200},
    {chC, "C%05.f", 100, 20},
};

// Prints the row's next line into out (size bytes, always NUL-terminated); returns its length.
int32_t SimulatedLine(TRandom &random, const TSimulatedRow &row, char *out, int32_t size);
