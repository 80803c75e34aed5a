#pragma once

#include <vector>

#include "recognize/GlyphTemplates.h"
#include "recognize/LineSymbols.h"

struct Pix;

namespace zelvo {

// A sure digit stays sure only when the templates name it at least this much ahead of any other
// digit, and name nothing else this much ahead of it.
inline constexpr double kGlyphDoubtMargin = 1.1;
// A sign the recogniser read before a digit is in doubt when the templates name a digit this
// much ahead.
inline constexpr double kGlyphNotSignMargin = 1.3;
// A doubt is settled as what the templates name this much ahead of anything else.
inline constexpr double kGlyphSettleMargin = 1.5;
// A doubt between digits alone is the currency sign only this much ahead: taking a digit for
// the sign drops it from the amount.
inline constexpr double kGlyphSignMargin = 3.0;

// The line's symbols held against the templates, glyph by glyph on the line's ink (one bit, ink
// set).
struct GlyphJudgement {
    std::vector<Symbol> symbols;
    // Most of the digits that stand as one glyph look most like a seven-segment face's, the
    // bars of a display's 1 that stand one over the other counted among them; and one of them
    // clearly so, or no point was read. Blurred bold text looks barely like a display, and its
    // point stays apart; a display's point joins its digit's foot.
    bool segmentDigits = false;
};

// - A sure digit the templates name otherwise, or barely name, becomes a doubt between the
//   two; so does a sign before a digit that they name a digit (and it may never be the sign
//   again).
// - A doubt they name, as one of its candidates, is settled, though not inside the number on a
//   glyph as wide as two digits (theirs run together); one they name as a digit is no longer
//   taken for the sign, one they name the sign may be only the sign. A doubt, or a first digit,
//   whose box holds two glyphs they name as the sign and that digit (the sign the recogniser did
//   not read, run into the first digit) becomes the two.
// - A letter or mark read inside the number ("1/.38"), before its point ("@.23") or alone
//   after the currency sign ("¥t"), whose box holds just one glyph, of the digits' size and
//   place (the sign's, where no digit was read), that they surely name a digit, is that digit.
// - A mark read between two sure digits whose box holds no ink but parts of their glyphs, each
//   named as read, is dropped: the recogniser read the space between them ("2.5/7").
// - A colon read as a digit or doubt before any digit of the line is the label's colon, a word
//   of its own.
// - A digit or doubt read before any other, on a box far wider than a digit's, before the
//   colon or sign that parts a label from the amount, is the label misread ("3" for "金额"):
//   it is passed over.
// - A comma read as the line's only separator before the number's last one or two digits,
//   whose mark sits on the digits' foot without a tail, is the decimal point; a point read
//   before three digits and the line's other separator is the thousands separator.
// - These become doubts that no other view may settle:
//   - a digit or doubt whose box holds no glyph of its own (a colon read as a digit, a box
//     standing on its neighbour's glyph, a digit read on a part of the sign's glyph that does
//     not look like it, a box less than half as tall as the digits on a point or speck);
//   - a doubt before any digit, or a mark there that they would name a digit, on one glyph as
//     wide as two characters that they name a digit: the sign run into the first digit ("40.1"
//     for a blurred "¥0.1");
//   - a doubt whose box holds several glyphs (digits and points the recogniser read as one),
//     or none of its own but, inside its neighbour's box, a part of the neighbour's glyph,
//     wider than tall (two characters run together and read twice);
//   - a sure digit whose box holds several glyphs of the digits' size or, alone in its box, one
//     glyph far wider than a digit (characters run together and read as one);
//   - a digit other than 1 before another on a line read without a point, with a point run
//     into its foot ("3.1" read as 31);
//   - a sign read on the left part of the next digit's glyph when they name that part a digit
//     (a digit run into the next);
//   - a character beside the number whose box holds a glyph of the digits' size and place that
//     they surely name a digit;
//   - an "@" read in the number whose glyph they name an 8: a dotted zero, blurred;
//   - a doubt that can only be, or a mark in the number that they name, a 0, 6, 8 or 9 on a
//     glyph that encloses no ground (a counter filled in or broken open, or another digit).
// Where the templates are unsure, or a box holds no single glyph, nothing changes.
GlyphJudgement JudgeByGlyphs(std::vector<Symbol> symbols, Pix* ink,
                             const std::vector<GlyphTemplate>& templates);

}  // namespace zelvo
