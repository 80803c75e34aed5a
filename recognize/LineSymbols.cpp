#include "recognize/LineSymbols.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

namespace zelvo {
namespace {

bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

bool IsNumberChar(char c) {
    return IsDigitChar(c) || c == '.' || c == ',';
}

bool IsDigit(std::string_view text) {
    return text.size() == 1 && text[0] >= '0' && text[0] <= '9';
}

bool IsPoint(std::string_view text) {
    return text == "." || text == ",";
}

bool CountsAsDigit(std::string_view text) {
    return IsDigit(text) || text == "?";
}

bool IsNumberLike(std::string_view text) {
    return CountsAsDigit(text) || IsPoint(text);
}

// What the recogniser gives for "¥" or "￥" when it fails to read them: marks no digit is
// ever read as.
bool IsMisreadSign(std::string_view text) {
    static constexpr std::string_view kMisreads[] = {"£", "€", "¢", "$", "*", "V", "v", "W",
                                                     "w", "Y", "y", "E", "F", "¥", "￥"};
    return std::find(std::begin(kMisreads), std::end(kMisreads), text) != std::end(kMisreads);
}

std::string Words(const std::vector<Symbol>& symbols, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to; ++i) {
        if (symbols[i].startsWord && !text.empty()) text += ' ';
        text += symbols[i].text;
    }
    return text;
}

}  // namespace

std::string LineText(const std::vector<Symbol>& symbols) {
    return Words(symbols, 0, symbols.size());
}

std::optional<NumberRun> FindNumberRun(const std::vector<Symbol>& symbols) {
    std::optional<NumberRun> best;
    int bestDigits = 0;
    size_t at = 0;
    while (at < symbols.size()) {
        if (!IsNumberLike(symbols[at].text)) {
            ++at;
            continue;
        }
        NumberRun run{at, at + 1};
        int digits = CountsAsDigit(symbols[at].text) ? 1 : 0;
        while (run.end < symbols.size() && IsNumberLike(symbols[run.end].text)) {
            const Symbol& next = symbols[run.end];
            const bool besidePoint = IsPoint(next.text) || IsPoint(symbols[run.end - 1].text);
            if (next.startsWord && !besidePoint) break;
            digits += CountsAsDigit(next.text) ? 1 : 0;
            ++run.end;
        }
        if (digits > bestDigits) {
            best = run;
            bestDigits = digits;
        }
        at = run.end;
    }
    return best;
}

std::string LineWithSignApart(const std::vector<Symbol>& symbols) {
    const std::optional<NumberRun> run = FindNumberRun(symbols);
    if (!run || run->begin == 0 || symbols[run->begin].startsWord ||
        !IsMisreadSign(symbols[run->begin - 1].text)) {
        return LineText(symbols);
    }
    std::vector<Symbol> apart = symbols;
    apart[run->begin - 1].text = "\u00A5";
    apart[run->begin].startsWord = true;
    return LineText(apart);
}

ViewVotes::ViewVotes(std::string line) : m_line(std::move(line)), m_votes(m_line.size()) {}

bool ViewVotes::Add(const std::string& view) {
    if (view.size() != m_line.size()) return true;
    for (size_t i = 0; i < m_line.size(); ++i) {
        if (IsNumberChar(m_line[i]) && IsNumberChar(view[i]) && m_line[i] != view[i]) return false;
    }
    for (size_t i = 0; i < m_line.size(); ++i) {
        if (m_line[i] == '?' && IsDigitChar(view[i])) m_votes[i] += view[i];
    }
    return true;
}

std::string ViewVotes::Settled() const {
    std::string line = m_line;
    for (size_t i = 0; i < line.size(); ++i) {
        const std::string& votes = m_votes[i];
        if (line[i] != '?' || votes.empty()) continue;
        if (votes.find_first_not_of(votes[0]) == std::string::npos) line[i] = votes[0];
    }
    return line;
}

std::vector<Symbol> WithDoubtsSettled(std::vector<Symbol> symbols, const std::string& line) {
    size_t at = 0;
    for (size_t i = 0; i < symbols.size(); ++i) {
        if (symbols[i].startsWord && i > 0) ++at;
        if (symbols[i].text == "?" && at < line.size()) symbols[i].text = line.substr(at, 1);
        at += symbols[i].text.size();
    }
    return symbols;
}

}  // namespace zelvo
