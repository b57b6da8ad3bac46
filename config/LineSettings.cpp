// How the choice fields of the configuration record map onto line settings and intervals.
#include "config/LineSettings.h"

#include <iterator>

TBaudRate MapSpeed(int32_t speed)
{
    switch (speed) {
    case 0: return br19200;
    case 1: return br9600;
    case 2: return br4800;
    case 3: return br2400;
    case 4: return br1200;
    default: return br9600;
    }
}

TParityBits MapParity(int32_t parity)
{
    switch (parity) {
    case 1: return prEven;
    case 2: return prOdd;
    default: return prNone;
    }
}

TDataBits MapDataBits(int32_t dataBits)
{
    return dataBits == 1 ? dbEight : dbSeven;
}

TStopBits MapStopBits(int32_t stopBits)
{
    return stopBits == 1 ? sbTwoStopBits : sbOneStopBit;
}

bool PollingInterval(int32_t polling, int &intervalMs)
{
    static constexpr int kIntervals[] = {1000, 2000, 5000, 10000, 30000, 60000};
    if (polling < 0 || polling >= int32_t(std::size(kIntervals)))
        return false;
    intervalMs = kIntervals[polling];
    return true;
}
