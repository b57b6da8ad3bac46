// Any byte stream, in any split, through the receive assembly, the decoder, the statistics and
// the panel texts: nothing may overrun, and no register may hold NaN.
#include "acquisition/Decoder.h"
#include "acquisition/PanelText.h"
#include "acquisition/RxLine.h"
#include "acquisition/Stats.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    // the first bytes choose the framing switch, the multipliers and the event size
    TConfigData config;
    config.SetSinglePackets(data[0] % 3);
    const double mult = (data[1] & 1) ? 1e300 : (data[1] % 7) * 0.25 - 0.5;
    config.SetV(0, 0, mult, data[1] % 5 - 1);
    config.SetA(0, 0, 0.01, 3);
    config.SetR(0, 0, 1.0, 0);
    config.SetC(0, 0, -0.1, 9);
    const size_t chunk = 1 + data[2] % 64;
    data += 3;
    size -= 3;

    ClearStats();
    RxLine[0] = '\0';
    RxCount = 0;
    auto parse = [&config] {
        char line[kParseLineSize];
        RxTakeLine(line, kParseLineSize);
        RemoveChar(line, kCr);
        TDecodedLine decoded;
        DecodeLine(line, config, decoded);
        check(decoded.ReadingCount >= 0 && decoded.ReadingCount <= kChannelCount);
        for (int i = 0; i < decoded.ReadingCount; ++i)
            RecordReading(decoded.Readings[i].Channel, decoded.Readings[i].Value);
        TPanelTexts texts;
        for (int item = -1; item <= kPanelItemCount; ++item)
            PanelTexts(item, Stats, config, texts);
    };
    for (size_t at = 0; at < size; at += chunk) {
        const size_t n = std::min(chunk, size - at);
        RxAssemble(reinterpret_cast<const char *>(data + at), int32_t(n), parse);
        check(RxCount >= 0 && RxCount < kRxLineSize);
        check(int32_t(std::strlen(RxLine)) <= RxCount);
    }
    for (int ch = 0; ch < kChannelCount; ++ch) {
        check(!std::isnan(Stats.Current[ch]) && !std::isnan(Stats.Sum[ch]) && !std::isnan(Stats.Average[ch]));
        check(!std::isnan(Stats.Max[ch]) && !std::isnan(Stats.Min[ch]));
        check(Stats.Count[ch] >= 0);
    }
    return 0;
}
