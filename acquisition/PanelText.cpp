// Texts of the statistics panel.
#include "acquisition/PanelText.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <locale.h>

namespace {

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

} // namespace

int32_t ShownDecimals(int32_t decimals)
{
    return std::clamp<int32_t>(decimals, 0, kMaxDecimals);
}

void FormatFixed(char *out, double v, int32_t decimals)
{
    // the process runs in the user's locale (Qt sets it), which may want a decimal comma
    const locale_t previous = uselocale(cLocale());
    std::snprintf(out, kFixedTextSize, "%.*f", int(ShownDecimals(decimals)), v);
    uselocale(previous);
}

bool PanelTexts(int itemIndex, const TStatsBlock &stats, const TConfigData &config, TPanelTexts &texts)
{
    if (itemIndex < 0 || itemIndex >= kPanelItemCount)
        return false;
    const TChannelBinding &b = ChannelBindings[itemIndex];
    const TChannel ch = b.Channel;
    texts.Units[0] = b.Tag;
    texts.Units[1] = '\0';
    const int32_t d = (config.*b.Dec)();
    FormatFixed(texts.Current, stats.Current[ch], d);
    FormatFixed(texts.Min, stats.Min[ch], d);
    FormatFixed(texts.Max, stats.Max[ch], d);
    FormatFixed(texts.Average, stats.Average[ch], d);
    return true;
}
