#pragma once

#include <string>
#include <vector>

#include "recognize/LineSymbols.h"

struct Pix;

namespace zelvo {

// Which of `candidates` (digits the recogniser hesitated between) the glyph standing between
// `left` and `right` of the line's ink (one bit, ink set) can be, told by the holes its strokes
// enclose: one tall hole for 0 (also slashed or dotted), one low for 6, one high for 9 or a
// closed 4, two stacked for 8. A glyph that shows no clear hole tells nothing (thin strokes
// close up small), so then all candidates stay; so they do when the holes fit no digit.
std::string DigitsFittingShape(Pix* ink, int left, int right, const std::string& candidates);

// The digits checked against their glyph's holes. A doubtful digit keeps only the candidates
// the holes allow, so that another view cannot settle a slashed zero as an 8 or a dotted one as
// a 6; a sure digit the holes deny (a blurred zero read as a 6) becomes doubtful, between it and
// what the holes allow. The holes alone settle nothing: a thin stroke that closes up makes a 9
// look like a zero. When the templates deny it as well, the recogniser's digit is no candidate:
// its other views share its mistake and would settle it ("6.12" for a barred "0.12"). A doubt
// the holes leave one candidate, which the templates name too, is settled as that digit: the
// recogniser's other views would read the dotted zero as it first did. A doubt whose holes deny
// every candidate is one that no view settles: a dotted zero that blurring made a "θ", doubted
// between 6 and 8, which the views would settle as a 6.
std::vector<Symbol> WithShapesTold(std::vector<Symbol> symbols, Pix* ink);

}  // namespace zelvo
