// Receive line assembly: received bytes become lines, ended by ETX or CR; line feeds are dropped.
#pragma once

#include "acquisition/Utich.h"

#include <algorithm>
#include <cstdint>

constexpr int32_t kRxLineSize = 1024;   // RxLine holds at most kRxLineSize - 1 characters
constexpr int32_t kRxChunkSize = 1024;  // bytes taken from the port in one read
constexpr char kEtx = 0x03;
constexpr char kCr = 0x0D;
constexpr char kLf = 0x0A;

// The bytes received since the last terminator, NUL-terminated.
extern char RxLine[kRxLineSize];
// Bytes appended since RxLine was last emptied; counts NUL bytes, which add nothing to the text.
extern int32_t RxCount;

// Appends n received bytes to RxLine and calls parse() at every terminator; parse is expected to
// take the line and empty it (RxTakeLine). A line that outgrows RxLine keeps its first 1023 bytes
// and drops the rest until the next terminator.
template <typename Parse>
void RxAssemble(const char *bytes, int32_t n, Parse &&parse)
{
    for (int32_t k = 0; k < n; ++k) {
        const char b = bytes[k];
        if (b == kEtx || b == kCr) {
            parse();
        } else if (b == kLf) {
            continue;
        } else if (RxCount < kRxLineSize - 1) {
            // strlen(RxLine) <= RxCount <= 1022, so both writes stay inside the buffer
            AppendChar(RxLine, b);
            ++RxCount;
            RxLine[RxCount] = '\0';
        }
    }
    RxLine[RxCount] = '\0';
}

// Takes every one of the count bytes waiting on the port, in chunks of kRxChunkSize, in order.
// read(buffer, max) returns the number of bytes it put in buffer; fewer than asked ends the
// event, whatever is left comes with the next one.
template <typename Read, typename Parse>
void RxReceive(int32_t count, Read &&read, Parse &&parse)
{
    char chunk[kRxChunkSize];
    while (count > 0) {
        const int32_t want = std::min(count, kRxChunkSize);
        const int32_t got = static_cast<int32_t>(read(chunk, want));
        if (got <= 0)
            return;
        RxAssemble(chunk, std::min(got, want), parse);
        if (got < want)
            return;
        count -= got;
    }
}

// Copies RxLine into dest, at most destSize - 1 characters and a NUL, and empties RxLine.
// Returns the length of the copy.
int32_t RxTakeLine(char *dest, int32_t destSize);
