// Any text through the number conversions: the decimal reader agrees with strtod in the C
// locale wherever the text starts with a decimal number, and the integer reader agrees with
// arithmetic modulo 2^32.
#include "acquisition/NumberText.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The atol rule by a different road: at most 18 digits fit a long long exactly.
bool referenceInteger(const std::string &text, int32_t &value)
{
    size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    size_t digits = 0;
    uint64_t v = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (++digits > 18)
            return false;
        v = v * 10 + uint64_t(text[i++] - '0');
    }
    const uint32_t low = uint32_t(v & 0xFFFFFFFFu);
    value = int32_t(negative ? 0u - low : low);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const char *s = text.c_str();   // stops at the first NUL, as the edits' texts do
    const std::string cut(s);

    const double d = ReadDecimal(s);
    size_t i = 0;
    while (i < cut.size() && isSpace(cut[i]))
        ++i;
    size_t j = i + ((i < cut.size() && (cut[i] == '+' || cut[i] == '-')) ? 1 : 0);
    const bool decimal = j < cut.size()
        && ((cut[j] >= '0' && cut[j] <= '9') || (cut[j] == '.' && j + 1 < cut.size() && cut[j + 1] >= '0' && cut[j + 1] <= '9'));
    const bool hex = j + 1 < cut.size() && cut[j] == '0' && (cut[j + 1] == 'x' || cut[j + 1] == 'X');
    if (!decimal || hex) {
        check(d == 0.0);
    } else {
        const double expected = std::strtod(s, nullptr);   // the fuzzer runs in the C locale
        check((std::isnan(d) && std::isnan(expected)) || d == expected);
    }

    int32_t expected = 0;
    if (referenceInteger(cut, expected))
        check(ReadInteger(s) == expected);
    else
        (void)ReadInteger(s);
    return 0;
}
