#pragma once

#include <cstdint>
#include <string>

namespace zelvo {

// A screen rectangle as the configuration stores it: left, top, right, bottom.
struct CaptureRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool HasArea() const { return right > left && bottom > top; }
    bool operator==(const CaptureRect&) const = default;
};

// Reads the stored text "left,top,right,bottom" into `rect`. Each number is read from the
// leading characters of its piece (spaces, a sign, digits; none gives 0); when a comma is
// missing, the fields after it keep their values. Empty text is "0,0,0,0". False when a number
// does not fit 32 bits: the stored region is unusable.
bool ParseCutRect(const std::string& text, CaptureRect& rect);

// The stored form of a rectangle, "812,40,1010,88".
std::string CutRectText(const CaptureRect& rect);

}  // namespace zelvo
