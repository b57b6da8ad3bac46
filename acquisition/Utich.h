// Routines on NUL-terminated byte strings in fixed-size buffers.
// None of them checks a size: the caller guarantees the room stated for each.
#pragma once

#include <cstdint>

// Appends ch after the string; needs room for length + 2 bytes. Appending NUL changes nothing.
void AppendChar(char *text, char ch);

// Copies source[from .. to-1] into dest, NULs inside the range included, and ends dest with a NUL.
// limit > 0 keeps at most limit - 1 bytes, so dest never needs more than limit bytes; otherwise dest
// needs to - from + 1 bytes. Returns the number of bytes left in dest. from must not be negative.
int32_t CopyRange(char *dest, const char *source, int32_t from, int32_t to, int32_t limit);

// Index of the first ch in text, or -1; the terminating NUL is never found.
int32_t FindChar(const char *text, char ch);

// Removes every ch from text in place, keeping the order of the rest; returns text.
char *RemoveChar(char *text, char ch);
