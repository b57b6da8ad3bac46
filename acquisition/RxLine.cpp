// The receive line shared by the port's receive handler, the decoder and the simulation.
#include "acquisition/RxLine.h"

char RxLine[kRxLineSize];
int32_t RxCount = 0;

int32_t RxTakeLine(char *dest, int32_t destSize)
{
    int32_t n = 0;
    while (n < destSize - 1 && RxLine[n] != '\0') {
        dest[n] = RxLine[n];
        ++n;
    }
    dest[n] = '\0';
    RxCount = 0;
    RxLine[0] = '\0';
    return n;
}
