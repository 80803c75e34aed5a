#include "capture/CaptureRect.h"

#include <array>
#include <limits>

namespace zelvo {
namespace {

bool LeadingNumber(const std::string& piece, std::int32_t& value) {
    size_t at = 0;
    while (at < piece.size() && piece[at] == ' ') ++at;
    bool negative = false;
    if (at < piece.size() && (piece[at] == '+' || piece[at] == '-')) {
        negative = piece[at] == '-';
        ++at;
    }
    std::int64_t number = 0;
    for (; at < piece.size() && piece[at] >= '0' && piece[at] <= '9'; ++at) {
        number = number * 10 + (piece[at] - '0');
        if (number > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
    }
    if (negative) number = -number;
    if (number > std::numeric_limits<std::int32_t>::max()) return false;
    value = static_cast<std::int32_t>(number);
    return true;
}

}  // namespace

bool ParseCutRect(const std::string& text, CaptureRect& rect) {
    const std::string value = text.empty() ? std::string("0,0,0,0") : text;
    CaptureRect parsed = rect;
    std::array<std::int32_t*, 4> targets = {&parsed.left, &parsed.top, &parsed.right,
                                            &parsed.bottom};
    size_t start = 0;
    for (size_t i = 0; i < targets.size(); ++i) {
        // The last field takes the rest of the text; the others end at the next comma.
        const size_t comma = i + 1 < targets.size() ? value.find(',', start) : std::string::npos;
        if (!LeadingNumber(value.substr(start, comma - start), *targets[i])) return false;
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    rect = parsed;
    return true;
}

std::string CutRectText(const CaptureRect& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

}  // namespace zelvo
