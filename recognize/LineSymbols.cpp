#include "recognize/LineSymbols.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>
#include <utility>

namespace zelvo {
namespace {

std::string Words(const std::vector<Symbol>& symbols, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to; ++i) {
        if (symbols[i].startsWord && !text.empty()) text += ' ';
        text += symbols[i].text;
    }
    return text;
}

}  // namespace

bool IsYenSign(std::string_view text) {
    return text == "\u00A5" || text == "\uFFE5";
}

bool MayBeCurrencySign(std::string_view text) {
    static constexpr std::string_view kMisreads[] = {"£", "€", "¢", "$", "*", "V", "v", "W",
                                                     "w", "Y", "y", "E", "F", "¥", "￥"};
    return std::find(std::begin(kMisreads), std::end(kMisreads), text) != std::end(kMisreads);
}

void Unreadable(Symbol& symbol) {
    symbol.text = "?";
    symbol.candidates.clear();
    symbol.maybeSign = false;
    symbol.withoutGlyph = true;
}

bool IsDigitSymbol(std::string_view text) {
    return text.size() == 1 && text[0] >= '0' && text[0] <= '9';
}

bool IsPointSymbol(std::string_view text) {
    return text == "." || text == ",";
}

bool CountsAsDigit(std::string_view text) {
    return IsDigitSymbol(text) || text == "?";
}

bool IsLatinLetter(std::string_view text) {
    return text.size() == 1 && std::isalpha(static_cast<unsigned char>(text[0]));
}

void CutBoxesAtTheNextSymbol(std::vector<Symbol>& symbols) {
    for (size_t i = 0; i + 1 < symbols.size(); ++i) {
        const Symbol& next = symbols[i + 1];
        const int nextMiddle = next.Middle();
        if (symbols[i].right > nextMiddle && next.left > symbols[i].left) {
            symbols[i].right = next.left;
        }
    }
}

void StartBoxesAfterTheSymbolBefore(std::vector<Symbol>& symbols) {
    for (size_t i = 1; i < symbols.size(); ++i) {
        const Symbol& before = symbols[i - 1];
        Symbol& symbol = symbols[i];
        const int width = before.right - before.left;
        const bool holdsIt = symbol.left <= before.left + width / 4 && symbol.right > before.right;
        if (!before.BoxedASliver() && holdsIt && !before.runTogether) {
            symbol.left = before.right;
        }
    }
}

std::optional<SymbolBox> BoxAround(const std::vector<Symbol>& symbols,
                                   bool (*picked)(const Symbol&)) {
    std::optional<SymbolBox> box;
    for (const Symbol& symbol : symbols) {
        if (!picked(symbol)) continue;
        if (!box) box = SymbolBox{symbol.left, symbol.top, symbol.right, symbol.bottom};
        box->left = std::min(box->left, symbol.left);
        box->top = std::min(box->top, symbol.top);
        box->right = std::max(box->right, symbol.right);
        box->bottom = std::max(box->bottom, symbol.bottom);
    }
    return box;
}

bool IsNumberLike(std::string_view text) {
    return CountsAsDigit(text) || IsPointSymbol(text);
}

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
            const bool besidePoint =
                IsPointSymbol(next.text) || IsPointSymbol(symbols[run.end - 1].text);
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
        !MayBeCurrencySign(symbols[run->begin - 1].text)) {
        return LineText(symbols);
    }
    std::vector<Symbol> apart = symbols;
    apart[run->begin - 1].text = "\u00A5";
    apart[run->begin].startsWord = true;
    return LineText(apart);
}

ViewVotes::ViewVotes(std::vector<Symbol> line) : m_line(std::move(line)), m_votes(m_line.size()) {}

bool ViewVotes::Add(const std::vector<Symbol>& view, float scale) {
    // The view's symbols standing on each of the line's symbols.
    std::vector<std::vector<const Symbol*>> standing(m_line.size());
    for (size_t v = 0; v < view.size(); ++v) {
        if (view.size() == m_line.size()) {
            standing[v].push_back(&view[v]);
            continue;
        }
        // Most of the view's symbol must lie on the line's: one across two tells nothing.
        const float left = view[v].left / scale;
        const float right = view[v].right / scale;
        for (size_t i = 0; i < m_line.size(); ++i) {
            const float on =
                std::min<float>(right, m_line[i].right) - std::max<float>(left, m_line[i].left);
            if (on * 3 >= (right - left) * 2) standing[i].push_back(&view[v]);
        }
    }
    for (size_t i = 0; i < m_line.size(); ++i) {
        // Two marks on one place tell nothing of it.
        if (standing[i].size() != 1) continue;
        const std::string& read = standing[i].front()->text;
        if (IsDigitSymbol(m_line[i].text)) {
            if (IsDigitSymbol(read) && read != m_line[i].text) return false;
            // A doubt among other digits only.
            const std::string& candidates = standing[i].front()->candidates;
            if (read == "?" && !candidates.empty() &&
                candidates.find(m_line[i].text[0]) == std::string::npos) {
                return false;
            }
        } else if (m_line[i].text == "?" && read != "?") {
            m_votes[i].push_back(MayBeCurrencySign(read) ? "\u00A5" : read);
        }
    }
    return true;
}

std::vector<Symbol> ViewVotes::Settled() const {
    std::vector<Symbol> settled = m_line;
    for (size_t i = 0; i < settled.size(); ++i) {
        const std::vector<std::string>& votes = m_votes[i];
        const bool alike =
            !votes.empty() && std::all_of(votes.begin(), votes.end(),
                                          [&](const std::string& vote) { return vote == votes[0]; });
        if (settled[i].withoutGlyph || !alike) continue;
        const bool sign = votes[0] == "\u00A5" && settled[i].maybeSign;
        const std::string& candidates = settled[i].candidates;
        const bool candidate = candidates.empty() || candidates.find(votes[0]) != std::string::npos;
        if (sign || (IsDigitSymbol(votes[0]) && candidate && !settled[i].maybeSign)) {
            settled[i].text = votes[0];
        }
    }
    return settled;
}

}  // namespace zelvo
