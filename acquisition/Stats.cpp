// Running statistics per channel.
#include "acquisition/Stats.h"

#include <cmath>
#include <cstring>
#include <limits>

TStatsBlock Stats;

void RecordReading(TChannel channel, double v)
{
    if (std::isnan(v))
        return;
    if (std::isinf(v))
        v = std::copysign(std::numeric_limits<double>::max(), v);

    Stats.Current[channel] = v;
    if (Stats.Count[channel] < std::numeric_limits<int32_t>::max()) {
        Stats.Sum[channel] = Stats.Sum[channel] + v;
        Stats.Count[channel] = Stats.Count[channel] + 1;
        Stats.Average[channel] = Stats.Sum[channel] / Stats.Count[channel];
    }
    if (v > Stats.Max[channel])
        Stats.Max[channel] = v;
    if (v < Stats.Min[channel])
        Stats.Min[channel] = v;
}

void ClearStats()
{
    std::memset(&Stats, 0, sizeof Stats);
}
