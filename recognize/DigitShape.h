#pragma once

#include <string>

struct Pix;

namespace zelvo {

// Which of `candidates` (digits the recogniser hesitated between) the glyph standing between
// `left` and `right` of the line's ink (one bit, ink set) can be, told by the holes its strokes
// enclose: one tall hole for 0 (also slashed or dotted), one low for 6, one high for 9 or a
// closed 4, two stacked for 8. A glyph that shows no clear hole tells nothing (thin strokes
// close up small), so then all candidates stay; so they do when the holes fit no digit.
std::string DigitsFittingShape(Pix* ink, int left, int right, const std::string& candidates);

}  // namespace zelvo
