#pragma once

struct Pix;

namespace zelvo {

// How many decimal points or separators (small marks on the baseline between two characters)
// the line image shows between `left` and `right` (the recognised number's span), so that a point
// the recogniser missed can be noticed: "1515" read for "15.15" is a wrong amount, not a doubtful
// one. Dark or light text on an even ground.
int CountPointMarks(Pix* line, int left, int right);

}  // namespace zelvo
