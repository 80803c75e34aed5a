#pragma once

#include <optional>
#include <string>

namespace zelvo {

// Characters recognised with less confidence (0 to 100) than this are written as "?".
inline constexpr float kDoubtfulBelow = 75.0f;
// A word read with less confidence than this has all its characters written as "?": a
// misread digit often keeps a high confidence of its own while the word's drops.
inline constexpr float kDoubtfulWordBelow = 85.0f;

// Reads the one line of text in the image file with the recogniser kept for the process (made
// at the first call, again only when the data folder changes). `dataFolder` is used when
// TESSDATA_PREFIX is not set. UTF-8, words separated by one space; none when the image or the
// recognition data cannot be loaded.
std::optional<std::string> RecogniseLine(const std::string& imagePath,
                                         const std::string& dataFolder);

}  // namespace zelvo
