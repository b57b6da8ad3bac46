// Readings made up without a device.
#include "acquisition/Simulation.h"

#include <algorithm>
#include <cstdio>

int32_t TRandom::Next31()
{
    // Knuth's MMIX multiplier and increment; the high bits are the well-mixed ones
    m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<int32_t>(m_state >> 33);
}

int32_t TRandom::Random(int32_t n)
{
    const int32_t next = Next31();
    return n > 0 ? next % n : 0;
}

int32_t SimulatedLine(TRandom &random, const TSimulatedRow &row, char *out, int32_t size)
{
    const double number = row.Base + random.Random(row.Range);
    // a whole number: no decimal point is printed, so the locale cannot change the line
    const int n = std::snprintf(out, size_t(size), row.Format, number);
    return std::clamp<int32_t>(n, 0, size - 1);
}
