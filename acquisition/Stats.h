// Running statistics per channel: last reading, sum, count, mean, maximum and minimum.
#pragma once

#include "acquisition/Channel.h"

#include <cstdint>

struct TStatsBlock
{
    double Current[kChannelCount];
    double Average[kChannelCount];
    double Sum[kChannelCount];
    double Max[kChannelCount];     // largest of 0 and all readings
    double Min[kChannelCount];     // smallest of 0 and all readings
    int32_t Count[kChannelCount];
};

extern TStatsBlock Stats;

// Records one reading, already scaled. A reading that is not a number is ignored and an
// infinite one is taken as the largest finite double of its sign, so no register ever holds
// NaN. Once Count reaches its 32-bit limit it stays there, and so do Sum and Average (the mean
// of the readings counted); Current, Max and Min go on following the readings.
void RecordReading(TChannel channel, double v);

// Sets every register of every channel to zero.
void ClearStats();
