#pragma once

#include <vector>

#include "recognize/GlyphTemplates.h"
#include "recognize/LineSymbols.h"

struct Pix;

namespace zelvo {

// A glyph the templates name with at least this margin is not what the recogniser surely read
// instead; with the larger one it is what they name, where the recogniser was in doubt; only
// with the largest is a doubt between digits the currency sign.
inline constexpr double kGlyphDissentMargin = 1.3;
inline constexpr double kGlyphSettleMargin = 1.5;
inline constexpr double kGlyphSignMargin = 3.0;

// The line's digits and currency signs held against the templates, glyph by glyph on the line's
// ink (one bit, ink set):
// - a sure digit, or a sign before a digit, that they surely name as something else becomes
//   doubtful;
// - a doubtful digit they surely name, as one of its candidates, is settled; one they surely
//   name as a digit is no longer taken for the sign;
// - a doubt whose box holds two glyphs they surely name as the sign and a digit (the sign the
//   recogniser did not read, run into the first digit) becomes the two.
// Where the templates are unsure, or the recogniser's box holds no single glyph, nothing changes.
// Whether the line's digits are drawn by a seven-segment face: most of the digits and doubts
// that stand as one glyph look most like a seven-segment template.
bool ShowsSegmentDigits(const std::vector<Symbol>& symbols, Pix* ink,
                        const std::vector<GlyphTemplate>& templates);

std::vector<Symbol> WithGlyphsJudged(std::vector<Symbol> symbols, Pix* ink,
                                     const std::vector<GlyphTemplate>& templates);

}  // namespace zelvo
