// Numbers read from text by the C library's rules, but always with '.' as the decimal point,
// whatever the locale of the process.
#pragma once

#include <cstdint>

// Reads a decimal number as strtod does, without its extensions: white space is skipped, then
// an optional sign, digits with at most one '.', and an optional exponent ('e' or 'E', optional
// sign, digits). Reading stops at the first character that does not continue the number. Text
// that does not begin with a number reads as 0; so do "inf", "nan" and hexadecimal ("0x1A" is 0).
// A number beyond the range of a double reads as an infinity of its sign.
double ReadDecimal(const char *text);

// Reads a decimal integer as atol does: white space is skipped, then an optional sign and the
// digits up to the first character that is not one; 0 when no digit follows. There is no
// overflow check: the value wraps in 32-bit two's complement ("4294967297" reads as 1).
int32_t ReadInteger(const char *text);
