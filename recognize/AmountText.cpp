#include "recognize/AmountText.h"

#include <algorithm>
#include <array>
#include <vector>

namespace zelvo {
namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// Full-width forms the till may show, as their ASCII counterparts.
char16_t Narrow(char16_t c) {
    if (c >= u'\uFF10' && c <= u'\uFF19') return static_cast<char16_t>(u'0' + (c - u'\uFF10'));
    switch (c) {
        case u'\uFF0E':
            return u'.';
        case u'\uFF0C':
            return u',';
        case u'\uFF1A':
            return u':';
        default:
            return c;
    }
}

bool IsSeparator(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000' || c == u':';
}

// Labels, currency signs and units around the amount; each becomes a separator.
constexpr std::array<std::u16string_view, 7> kDecorations = {u"合计", u"应收",   u"金额",  u"RMB",
                                                             u"元",   u"\u00A5", u"\uFFE5"};

std::u16string Normalise(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) out += Narrow(c);
    for (std::u16string_view decoration : kDecorations) {
        for (size_t at = out.find(decoration); at != std::u16string::npos;
             at = out.find(decoration, at)) {
            out.replace(at, decoration.size(), u" ");
        }
    }
    return out;
}

bool IsPoint(char16_t c) {
    return c == u'.' || c == u',';
}

bool IsNumberPart(char16_t c) {
    return IsDigit(c) || IsPoint(c);
}

// The recogniser sometimes sets a decimal point or thousands separator apart from its digits
// ("87 .89", "5, 760"); a space beside such a point inside a number is no separator.
std::u16string WithPointsJoined(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        size_t after = at;
        while (after < text.size() && text[after] == u' ') ++after;
        if (after == at) {
            out += text[at++];
            continue;
        }
        const bool inNumber = !out.empty() && after < text.size() && IsNumberPart(out.back()) &&
                              IsNumberPart(text[after]);
        if (!inNumber || !(IsPoint(out.back()) || IsPoint(text[after]))) {
            out.append(after - at, u' ');
        }
        at = after;
    }
    return out;
}

std::vector<std::u16string> Tokens(const std::u16string& text) {
    std::vector<std::u16string> tokens;
    std::u16string current;
    for (char16_t c : text) {
        if (IsSeparator(c)) {
            if (!current.empty()) tokens.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) tokens.push_back(std::move(current));
    return tokens;
}

bool AllDigits(std::u16string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// "1,280" or "1280": the whole part, thousands separators only in groups of three.
bool WholePartValid(std::u16string_view whole) {
    if (whole.find(u',') == std::u16string_view::npos) return AllDigits(whole);
    size_t first = whole.find(u',');
    if (first == 0 || first > 3 || !AllDigits(whole.substr(0, first))) return false;
    for (size_t at = first; at < whole.size(); at += 4) {
        if (whole[at] != u',' || at + 4 > whole.size() || !AllDigits(whole.substr(at + 1, 3))) {
            return false;
        }
    }
    return true;
}

std::u16string AmountFromNumber(std::u16string_view number) {
    const size_t point = number.find(u'.');
    std::u16string_view whole = number.substr(0, point);
    std::u16string_view decimals;
    if (point != std::u16string_view::npos) {
        decimals = number.substr(point + 1);
        if (decimals.empty() || decimals.size() > 2 || !AllDigits(decimals)) return {};
    }
    if (!WholePartValid(whole)) return {};
    // A total starts with a zero only before its point: "01" is "0.1" with its point lost, and
    // "08304.3" a first digit misread.
    if (whole.size() > 1 && whole[0] == u'0') return {};
    std::u16string digits;
    for (char16_t c : whole) {
        if (c != u',') digits += c;
    }
    std::u16string amount = digits;
    if (!decimals.empty()) amount += u'.' + std::u16string(decimals);
    return amount.size() <= kAmountTextMax ? amount : std::u16string();
}

// Whether the number starting at `start` stands right after a word of Latin letters or marks
// that is no label or sign ("Bik 4" read for "0.14", "YU 1" for "¥0.01"), or after a Chinese
// numeral alone ("四 1" read for a blurred "¥1.91"): a small whole number there is what the
// recogniser left of a longer one. A label ("合计 1", "收 1"), a sign ("¥1", "RMB 5") or a
// colon (": 1") before it vouches for it.
constexpr std::u16string_view kChineseNumerals = u"〇一二三四五六七八九十";
bool AfterAStrayWord(std::u16string_view text, size_t start) {
    size_t end = start;
    while (end > 0 && (text[end - 1] == u' ' || text[end - 1] == u'\u3000')) --end;
    if (end == 0) return false;
    size_t begin = end;
    while (begin > 0 && text[begin - 1] != u' ' && text[begin - 1] != u'\u3000') --begin;
    const std::u16string_view word = text.substr(begin, end - begin);
    // No label is a Chinese numeral alone; the recogniser reads digits run together so.
    const bool numeral =
        word.size() == 1 && kChineseNumerals.find(word[0]) != std::u16string_view::npos;
    const bool vouched = word == u"Y" || word == u"RMB" || word.back() == u':' ||
                         word.back() == u';' || (word.back() >= 0x80 && !numeral);
    return !vouched;
}

}  // namespace

std::u16string AmountFromRecognisedText(std::u16string_view text) {
    const std::vector<std::u16string> tokens = Tokens(WithPointsJoined(Normalise(text)));
    const auto hasDigit = [](const std::u16string& token) {
        return std::any_of(token.begin(), token.end(), IsDigit);
    };
    const auto doubtful = [](const std::u16string& token) {
        return token.find(u'?') != std::u16string::npos;
    };
    // A doubtful word may have held digits of the amount.
    if (std::any_of(tokens.begin(), tokens.end(), doubtful)) return {};
    const auto number = std::find_if(tokens.begin(), tokens.end(), hasDigit);
    // Words before the amount are a label; anything after it, or a second number, leaves the
    // amount in doubt.
    if (number == tokens.end() || number + 1 != tokens.end()) return {};
    std::u16string amount = AmountFromNumber(*number);
    std::u16string narrow(text);
    std::transform(narrow.begin(), narrow.end(), narrow.begin(), Narrow);
    const size_t start = narrow.rfind(*number);
    const bool small = amount.size() <= 2 && amount.find(u'.') == std::u16string::npos;
    if (small && start != std::u16string::npos && AfterAStrayWord(narrow, start)) return {};
    return amount;
}

}  // namespace zelvo
