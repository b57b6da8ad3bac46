// Routines on NUL-terminated byte strings in fixed-size buffers.
#include "acquisition/Utich.h"

#include <cstring>

void AppendChar(char *text, char ch)
{
    const size_t n = std::strlen(text);
    text[n] = ch;
    text[n + 1] = '\0';
}

int32_t CopyRange(char *dest, const char *source, int32_t from, int32_t to, int32_t limit)
{
    dest[0] = '\0';
    if (from > to || to == 0)
        return 0;
    int32_t i = 0;
    int32_t j = from;
    while (j < to) {
        dest[j - from] = source[j];
        if (limit > 0 && i == limit - 1)
            break; // the byte just stored is overwritten by the NUL below
        ++j;
        ++i;
    }
    dest[j - from] = '\0';
    return i;
}

int32_t FindChar(const char *text, char ch)
{
    for (int32_t i = 0; text[i] != '\0'; ++i) {
        if (text[i] == ch)
            return i;
    }
    return -1;
}

char *RemoveChar(char *text, char ch)
{
    int32_t k = 0;
    for (int32_t j = 0; text[j] != '\0'; ++j) {
        if (text[j] != ch)
            text[k++] = text[j];
    }
    text[k] = '\0';
    return text;
}
