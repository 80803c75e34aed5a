#pragma once

#include <string>

namespace zelvo {

// The amount box's longest text.
inline constexpr size_t kAmountTextMax = 9;

// The amount in a recognised line ("合计：￥1,280.50 元" gives "1280.50"), or the empty text when
// the line holds no amount, more than one, a doubtful character ("?") anywhere, more than
// two decimals or more than the amount box takes.
std::u16string AmountFromRecognisedText(std::u16string_view text);

}  // namespace zelvo
