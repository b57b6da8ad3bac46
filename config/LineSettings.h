// How the choice fields of the configuration record map onto line settings and sample
// intervals. Every choice has a fixed default, so no stored value is ever an error.
#pragma once

#include "platform/ComPort.h"

#include <cstdint>

TBaudRate MapSpeed(int32_t speed);          // 0..4: 19200, 9600, 4800, 2400, 1200; else 9600
TParityBits MapParity(int32_t parity);      // 0..2: none, even, odd; else none
TDataBits MapDataBits(int32_t dataBits);    // 1: eight; else seven
TStopBits MapStopBits(int32_t stopBits);    // 1: two; else one

// The sample interval in ms for a Polling choice 0..5 (1, 2, 5, 10, 30, 60 s); false for any
// other value, which leaves the interval as it was.
bool PollingInterval(int32_t polling, int &intervalMs);
