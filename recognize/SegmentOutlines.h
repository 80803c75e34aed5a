#pragma once

#include <optional>

#include "recognize/SegmentCells.h"
#include "recognize/SegmentMarks.h"

namespace zelvo {

// The digit cells of a seven-segment display drawn small, where a digit's segments are thin
// lines that meet at their ends: each digit is one mark, an outline, and its segments are told
// by which sides and bars of its box hold a line. A digit whose sides are neither clearly lined
// nor clearly bare, or whose box holds ink between its bars, is none; so are cells of unequal
// height or width. None when the line holds no such digit.
std::optional<DigitCells> FindOutlinedDigitCells(const LineInk& line);

}  // namespace zelvo
