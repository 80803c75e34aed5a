#pragma once

#include <string>
#include <string_view>

namespace zelvo {

// Removes leading and trailing space, tab, CR and LF; a text of nothing else becomes empty.
std::string TrimWhitespace(std::string_view text);
std::u16string TrimWhitespace(std::u16string_view text);

// Copies at most `capacity` bytes of `text`: the limit of a fixed-size field.
std::string Bounded(std::string_view text, size_t capacity);

// Equal when they differ at most in the case of A-Z letters; no other character folds.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

}  // namespace zelvo
