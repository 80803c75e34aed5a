#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "recognize/LeptonicaHandles.h"

namespace zelvo {

// Where a glyph stands in its line.
struct GlyphArea {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const GlyphArea&) const = default;
};

// The glyphs standing between `left` and `right` of a line's ink (one bit, ink set), left to
// right: the ink components whose middle and most of them are inside, points and specks (less
// than half as tall as the line's tallest mark) left out.
struct Glyph {
    PixPtr pix;
    GlyphArea area;
};
std::vector<Glyph> GlyphsBetween(Pix* ink, int left, int right);

// Whether what stands between `left` and `right` is a colon: two small marks, one over the
// other, and no glyph.
bool IsColonBetween(Pix* ink, int left, int right);

// The runs of inked columns the ink holds between `left` and `right`, rows `top` to `bottom`,
// left to right, where runs apart by less than `gap` columns count as one; and how many.
struct ColumnSpan {
    int left = 0, right = 0;  // columns [left, right)
};
std::vector<ColumnSpan> InkColumnSpans(Pix* ink, int left, int right, int top, int bottom, int gap);
int InkColumnRuns(Pix* ink, int left, int right, int top, int bottom, int gap);

// The one glyph standing between `left` and `right` of a line's ink (one bit, ink set): the
// ink component whose middle and most of it are inside them, points and specks beside it left
// out. The recogniser's boxes are loose: a box that holds two glyphs (a sign it did not read,
// and its digit) names none, and null is returned.
PixPtr GlyphBetween(Pix* ink, int left, int right, GlyphArea& area);

// A glyph drawn small and at one size, so that glyphs of any size and weight compare: its
// height (or its width, when wider) fills the cells, centred the other way; each cell holds
// how much of it is ink, 0 to 255.
inline constexpr int kGlyphCells = 16;
using GlyphPicture = std::array<std::uint8_t, kGlyphCells * kGlyphCells>;

GlyphPicture PictureOfGlyph(Pix* glyph);

}  // namespace zelvo
