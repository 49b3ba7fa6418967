// Drawing one row of terminal text on a QPainter: every character sits in its own cells (one or
// two, see wide_chars.h) whatever the font's own advances, on an opaque background, clipped to
// the row's cells. Text the painter's font draws one glyph per character goes out as one glyph
// run; other text (characters of fonts found by fallback, marks, scripts that join) is shaped by
// Qt's text layout, one character with its marks at a time, each at its cell.
#pragma once

#include <cstddef>

#include "config/colors/color_text.h"

class QPainter;

// Style bits of the second form: the text attributes of a colour scheme.
constexpr unsigned kTermStyleBold = 1;
constexpr unsigned kTermStyleUnderline = 2;
constexpr unsigned kTermStyleBlink = 4;

// `count` UTF-16 units of `text` at (x, y) in the painter's font: cells of `cellWidth` by
// `cellHeight`, the background filled first. Bold by overstrike draws the glyphs again one pixel
// to the right; underline is a one-pixel line `underlineOffset` below y across every cell.
void TermDrawRow(QPainter& painter, VColor foreground, VColor background, bool overstrikeBold,
                 bool underline, int x, int y, int cellWidth, int cellHeight, int underlineOffset,
                 const char16_t* text, size_t count);

// The same with the advances given: `widths` holds the pixels each UTF-16 unit moves the pen
// (a surrogate pair's second unit, or a mark, usually 0), and the row is `columns` cells wide.
// With `glyphIndices` each unit of `text` is a glyph index of the painter's font rather than a
// character. Bold (when `overstrikeBold` and the style has kTermStyleBold) repeats the glyphs
// 1 to `overstrikeRepeat` pixels to the right.
void TermDrawRow(QPainter& painter, VColor foreground, VColor background, bool overstrikeBold,
                 unsigned style, int x, int y, int cellWidth, int cellHeight, int underlineOffset,
                 const char16_t* text, const int* widths, bool glyphIndices, size_t count,
                 int columns, int overstrikeRepeat);

// The common wrapper: the underline two pixels above the bottom of the cells.
inline void TermDrawText(QPainter& painter, VColor foreground, VColor background,
                         bool overstrikeBold, bool underline, int x, int y, int cellWidth,
                         int cellHeight, const char16_t* text, size_t count) {
  TermDrawRow(painter, foreground, background, overstrikeBold, underline, x, y, cellWidth,
              cellHeight, cellHeight - 2, text, count);
}

// The cells `count` UTF-16 units of `text` take, and each unit's advance in pixels.
int TermMeasureRow(const char16_t* text, size_t count, int cellWidth, int* widths);

// Whether output may spill out of its cells (a glyph wider than its cells, an overstrike at the
// right edge). Off: output is clipped to the row's cells, as a terminal keeps its grid.
void SetTermDrawUnclipped(bool unclipped);
bool IsTermDrawUnclipped();
