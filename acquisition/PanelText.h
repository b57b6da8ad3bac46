// Texts of the statistics panel for one channel: its unit letter and its last value, minimum,
// maximum and mean in fixed-point notation.
#pragma once

#include "acquisition/Stats.h"

#include <cstdint>

constexpr int kPanelItemCount = kChannelCount;  // items of the channel chooser, in channel order
constexpr int32_t kMaxDecimals = 3;
// "%.3f" of the largest double is 313 characters; the buffer leaves room to spare.
constexpr int32_t kFixedTextSize = 400;

struct TPanelTexts
{
    char Units[2];
    char Current[kFixedTextSize];
    char Min[kFixedTextSize];
    char Max[kFixedTextSize];
    char Average[kFixedTextSize];
};

// Decimals outside 0 to 3 are shown as the nearer of the two.
int32_t ShownDecimals(int32_t decimals);

// printf's "%.<decimals>f" with '.' as the decimal point whatever the locale of the process.
void FormatFixed(char *out, double v, int32_t decimals);

// Fills texts for the chooser item itemIndex; false, and texts untouched, when the index names
// no channel.
bool PanelTexts(int itemIndex, const TStatsBlock &stats, const TConfigData &config, TPanelTexts &texts);
