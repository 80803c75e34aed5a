#pragma once

#include <optional>
#include <string>

struct Pix;

namespace zelvo {

// Reads the number a seven-segment display shows in the line image ("34.3", "1,280.50"): its
// digit cells, and the points and separators on the baseline between them (a point too pale
// to be binarised, the grey left in the gap, counts; grey that may be one leaves the number in
// doubt). Whatever stands
// left of the first digit cell (a currency sign, a label) is passed over. None when the image
// is not such a display, or when any cell or mark in the number is not exactly a digit, a point
// or a separator: a doubtful number must not become an amount. Takes the cleaned image or a
// screen copy, dark or light text.
std::optional<std::string> ReadSegmentNumber(Pix* line);

// Writes the screen copy at `in` as the segment reader sees it (its ink, dark on light, the
// gaps between segments kept, pale points drawn as ink) to `out`, when it shows a seven-segment
// number the reader reads there and again from `out`. False otherwise; `out` is then to be written
// by other means.
bool WriteSegmentDisplay(const std::string& in, const std::string& out);

}  // namespace zelvo
