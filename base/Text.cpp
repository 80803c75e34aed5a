#include "base/Text.h"

namespace zelvo {
namespace {

template <typename Char>
std::basic_string<Char> Trim(std::basic_string_view<Char> text) {
    auto blank = [](Char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    return std::basic_string<Char>(text.substr(begin, end - begin));
}

template <typename Char>
bool EqualFolded(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    auto fold = [](Char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<Char>(c - 'A' + 'a') : c;
    };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

}  // namespace

std::string TrimWhitespace(std::string_view text) { return Trim(text); }

std::u16string TrimWhitespace(std::u16string_view text) { return Trim(text); }

std::string Bounded(std::string_view text, size_t capacity) {
    return std::string(text.substr(0, capacity));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return EqualFolded(a, b);
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return EqualFolded(a, b);
}

}  // namespace zelvo
