// Numbers read from text by the C library's rules, independent of the locale.
#include "acquisition/NumberText.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return locale;
}

} // namespace

double ReadDecimal(const char *text)
{
    const char *p = text;
    while (isSpace(*p))
        ++p;
    const char *number = p;
    if (*p == '+' || *p == '-')
        ++p;
    // strtod would go on to read infinity, NaN and hexadecimal: only a decimal number starts here
    const bool digitFirst = isDigit(p[0]) || (p[0] == '.' && isDigit(p[1]));
    if (!digitFirst)
        return 0.0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        return *number == '-' ? -0.0 : 0.0;
    // From here strtod in the C locale reads exactly the decimal grammar, rounds correctly and
    // gives an infinity on overflow.
    return strtod_l(number, nullptr, cLocale());
}

int32_t ReadInteger(const char *text)
{
    const char *p = text;
    while (isSpace(*p))
        ++p;
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    // unsigned arithmetic wraps by definition, which is the wrap we want
    uint32_t value = 0;
    for (; isDigit(*p); ++p)
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    if (negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}
