#pragma once

#include <string>
#include <string_view>

namespace zelvo {

// Removes leading and trailing space, tab, CR and LF; a text of nothing else becomes empty.
std::string TrimWhitespace(std::string_view text);
std::u16string TrimWhitespace(std::u16string_view text);

// Copies at most `capacity` bytes of `text`: the limit of a fixed-size field.
std::string Bounded(std::string_view text, size_t capacity);

}  // namespace zelvo
