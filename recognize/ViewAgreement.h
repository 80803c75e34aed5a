#pragma once

#include <vector>

#include "recognize/LineSymbols.h"

struct Pix;

namespace zelvo {

// The symbols of a view of the line scaled by `scale`, placed back where they stand in the line.
std::vector<Symbol> PlacedInLine(std::vector<Symbol> view, float scale);

// Whether each digit a view read (placed in the line) fits what the line's own reading saw at
// its place: no other sure digit, no doubt that rules it out or that ran into its neighbour's
// glyph, and not several characters under one digit (a view that ran a sign and a digit, or two
// digits, into one). A doubt standing on a sure digit is the recogniser reading one glyph twice
// and counts once. Letters and marks under a digit fit ("A5.51" read where a view reads
// "45.51").
bool ViewDigitsFitTheLine(const std::vector<Symbol>& line, const std::vector<Symbol>& view);

// The recogniser often starts a symbol's box where the one before it starts, or inside it ("¥"
// 17-38, "4" 17-62). A digit so boxed whose rest stands over the same digit read in the line,
// surely or as a doubt naming it, only confirms that digit: its box is taken to start where the
// one before it ends.
std::vector<Symbol> StartedAfterTheOneBefore(std::vector<Symbol> placed,
                                             const std::vector<Symbol>& line);

// Whether the line read one glyph twice: as the same digit twice, as a digit and a doubt that
// names it, or as a digit and a letter, in neighbouring boxes that meet over one glyph of ink no
// wider than the line's digits. `ink` is the line's ink (one bit, set on the text).
bool ReadsAGlyphTwice(const std::vector<Symbol>& line, Pix* ink);

// Whether a view's reading, placed in the line, explains the line (one glyph the line read as the
// same digit twice taken once, the line's boxes started after the ones before them, and the
// view's where they confirm a digit of the line): its digits fit the line's own reading, none
// stands over two columns of the line's ink (two characters read as one), and no point, joined
// point or glyph of the line is left out. `image` is the line's picture, `ink` its ink (one bit,
// set on the text).
bool ViewExplainsTheLine(const std::vector<Symbol>& view, const std::vector<Symbol>& line,
                         Pix* image, Pix* ink);

}  // namespace zelvo
