// The 5 x 7 dot font of the LED-matrix read-out.
#pragma once

#include <QChar>
#include <QtGlobal>

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;

// Dots of row 0 (top) .. 6 of ch's glyph, bit 4 the leftmost column and bit 0 the rightmost.
// A character without a glyph of its own gets the fallback glyph, a hollow box; a row outside
// 0 .. 6 is blank. Lower-case letters have no glyphs: the read-out upper-cases its text.
quint8 MatrixGlyphRow(QChar ch, int row);

// Whether ch has a glyph of its own rather than the fallback.
bool MatrixHasGlyph(QChar ch);
