// Decoding of one received line in multi-field or single-packet framing.
#include "acquisition/Decoder.h"

#include "acquisition/NumberText.h"
#include "acquisition/Utich.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// The value text of a tag at index tag: the (up to) five characters after it.
double ValueAfter(const char *line, int32_t length, int32_t tag, double mult)
{
    char valueText[kValueTextLength + 1];
    const int32_t to = std::min(tag + 1 + kValueTextLength, length);
    CopyRange(valueText, line, tag + 1, to, 0);
    return ReadDecimal(valueText) * mult;
}

void AddReading(TDecodedLine &out, TChannel channel, double v)
{
    out.Readings[out.ReadingCount++] = TReading{channel, v, MeterPositionOf(v)};
}

} // namespace

int32_t MeterPositionOf(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

void DecodeLine(const char *line, const TConfigData &config, TDecodedLine &out)
{
    out.ReadingCount = 0;
    out.LinePanel = -1;
    out.ShowsPacket = false;
    const auto length = static_cast<int32_t>(std::strlen(line));

    switch (config.SinglePackets()) {
    case 0:
        out.Framing = TFraming::MultiField;
        out.LinePanel = kLinePanel;
        for (const TChannelBinding &b : ChannelBindings) {
            const int32_t at = FindChar(line, b.Tag);
            if (at >= 0)
                AddReading(out, b.Channel, ValueAfter(line, length, at, (config.*b.Mult)()));
        }
        out.ShowsPacket = FindChar(line, 'P') >= 0;
        break;
    case 1:
        out.Framing = TFraming::SinglePacket;
        for (const TChannelBinding &b : ChannelBindings) {
            if (line[0] == b.Tag) {
                AddReading(out, b.Channel, ValueAfter(line, length, 0, (config.*b.Mult)()));
                out.LinePanel = b.StatusPanel;
            }
        }
        out.ShowsPacket = line[0] == 'P';
        break;
    default:
        out.Framing = TFraming::None; // a damaged record: decode nothing
        break;
    }
}
