#pragma once

#include <optional>
#include <string>

namespace zelvo {

// A digit is written as "?" when the recogniser gives another digit, or a currency sign, at
// least this confidence (0 to 100) as its second choice. Misread digits keep a high confidence
// of their own, but their rival shows; letter rivals ("O" for "0", "S" for "5") are harmless.
inline constexpr float kRivalFrom = 20.0f;

// Reads the one line of text in the image file with the recogniser kept for the process (made
// at the first call, again only when the data folder changes). `dataFolder` is used when
// TESSDATA_PREFIX is not set. UTF-8, words separated by one space; none when the image or the
// recognition data cannot be loaded.
std::optional<std::string> RecogniseLine(const std::string& imagePath,
                                         const std::string& dataFolder);

}  // namespace zelvo
