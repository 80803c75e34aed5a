#pragma once

#include <vector>

#include "recognize/LineSymbols.h"

struct Pix;

namespace zelvo {

// How many decimal points or separators (small marks on the baseline between two characters)
// the line image shows between `left` and `right` (the recognised number's span), so that a point
// the recogniser missed can be noticed: "1515" read for "15.15" is a wrong amount, not a doubtful
// one. Dark or light text on an even ground.
int CountPointMarks(Pix* line, int left, int right);

// Whether the line image shows more points between the read digits and doubts than the reading
// holds: a point the recogniser missed would shift the amount's decimals.
bool MissesAPoint(const std::vector<Symbol>& symbols, Pix* line);

// The same in the line enlarged to the cleaning's height, where its digits are small: the
// uncleaned screen copy's, whose point of a pixel or two the check above takes for a speck
// ("143" read for a 12-pixel "1.43").
bool MissesAPointWhenEnlarged(const std::vector<Symbol>& symbols, Pix* line);

// The same in the line's grey picture (dark text on a light ground), where a pale point that
// binarising dropped still shows ("5117" read for a blurred "51.17").
bool MissesAFaintPoint(const std::vector<Symbol>& symbols, Pix* grey);

// Whether a point the recogniser did not read may be joined to a digit's foot, where small
// blurred text runs them together: a digit whose glyph, its own and no neighbour's, is clearly
// wider than another glyph of the same digit on the line, with no point read after it
// ("122" read for "12.2"). `ink` is the line's ink, one bit, set on the text.
bool MayHideAJoinedPoint(const std::vector<Symbol>& symbols, Pix* ink);

// Whether a glyph of the digits' size, beside them, is in no symbol's box: a character the
// recogniser dropped, which may have been a digit ("1" read for "33.13"). Points, specks and
// borders do not count, nor does anything in a line with nothing read for a digit.
bool LeavesAGlyphUnread(const std::vector<Symbol>& symbols, Pix* ink);

}  // namespace zelvo
