// Decoding of one received line into scaled channel readings and the status-bar panels that
// show it. Pure: the main window's Parse applies the result to the registers and the controls.
#pragma once

#include "acquisition/Channel.h"

#include <cstdint>

constexpr int32_t kParseLineSize = 256;   // a decoded line has at most 255 characters
constexpr int32_t kValueTextLength = 5;   // characters after a tag that carry its value
constexpr int kPacketPanel = 5;           // panel of SB1 that shows P packets
constexpr int kLinePanel = 6;             // panel of SB1 that shows multi-field lines

enum class TFraming { MultiField, SinglePacket, None };

struct TReading
{
    TChannel Channel;
    double Value;          // scaled by the channel's multiplier
    int32_t MeterPosition; // Value truncated toward zero, held inside the 32-bit range
};

struct TDecodedLine
{
    TFraming Framing;
    TReading Readings[kChannelCount];  // in the order V, A, R, C
    int32_t ReadingCount;
    int LinePanel;                     // panel that shows the whole line, or -1
    bool ShowsPacket;                  // panel 5 shows the whole line (a P packet)
};

// line: NUL-terminated, carriage returns already removed. Reads the framing switch and the
// multipliers from config.
void DecodeLine(const char *line, const TConfigData &config, TDecodedLine &out);

// A needle position: truncated toward zero; NaN gives 0 and values beyond the 32-bit range
// give its nearer end.
int32_t MeterPositionOf(double v);
