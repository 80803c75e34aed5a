#pragma once

#include <vector>

#include "recognize/LineSymbols.h"

struct Pix;

namespace zelvo {

// The recogniser now and then gives a character a box a column or two wide at the edge of the
// next one's, and leaves the glyph it read unboxed before it ("¥" boxed on the 4 of "¥43.67").
// Such a box is moved onto that glyph: the one glyph between it and the symbol before, wholly
// in that gap and in no symbol's box. `ink` is the line's, one bit, set on the text.
std::vector<Symbol> WithSliversOnTheirGlyphs(std::vector<Symbol> symbols, Pix* ink);

}  // namespace zelvo
