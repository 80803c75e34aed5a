#include "recognize/ViewAgreement.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <string>

#include "recognize/GlyphPicture.h"
#include "recognize/PointMarks.h"

namespace zelvo {
namespace {

int Placed(int position, float scale) {
    return static_cast<int>(std::lround(static_cast<float>(position) / scale));
}

bool Within(int position, const Symbol& symbol) {
    return position >= symbol.left && position <= symbol.right;
}

bool OnASureDigit(const std::vector<Symbol>& line, int position) {
    return std::any_of(line.begin(), line.end(), [&](const Symbol& symbol) {
        return IsDigitSymbol(symbol.text) && Within(position, symbol);
    });
}

bool DigitFits(const Symbol& digit, const std::vector<Symbol>& line) {
    int under = 0;
    for (const Symbol& symbol : line) {
        const int middle = symbol.Middle();
        // A box a sliver wide holds no character the view could have run into the digit.
        if (!Within(middle, digit) || symbol.BoxedASliver()) continue;
        if (IsDigitSymbol(symbol.text)) {
            if (symbol.text != digit.text) return false;
        } else if (symbol.text == "?") {
            if (OnASureDigit(line, middle)) continue;
            if (symbol.runTogether) return false;
            const bool ruledOut = !symbol.candidates.empty() &&
                                  symbol.candidates.find(digit.text[0]) == std::string::npos;
            if (ruledOut) return false;
        }
        if (++under > 1) return false;
    }
    return true;
}

// The columns of ink in the box, apart by more than `gap`. Where there are several, one at an
// edge of the box that goes on past it is the glyph beside, which a box reaches into by a pixel
// or two ("1" before "元"), and is left out.
std::vector<ColumnSpan> InkColumnsOfItsOwn(Pix* ink, const SymbolBox& box, int gap) {
    std::vector<ColumnSpan> columns =
        InkColumnSpans(ink, box.left, box.right, box.top, box.bottom, gap);
    const auto inkAt = [&](int x) {
        return InkColumnRuns(ink, x, x + 1, box.top, box.bottom, 1) > 0;
    };
    if (columns.size() > 1 && columns.back().right >= box.right && inkAt(box.right)) {
        columns.pop_back();
    }
    if (columns.size() > 1 && columns.front().left <= box.left && inkAt(box.left - 1)) {
        columns.erase(columns.begin());
    }
    return columns;
}

// A digit standing over two columns of the line's ink, apart by more than a stroke's gap, is two
// characters read as one ("5" over a display's "15").
bool OverTwoInkColumns(const Symbol& digit, Pix* ink) {
    const int gap = std::max(2, (digit.bottom - digit.top) / 8);
    const SymbolBox box{digit.left, digit.top, digit.right, digit.bottom};
    return InkColumnsOfItsOwn(ink, box, gap).size() > 1;
}

// The line read this digit there: surely, or as a doubt that names it among a few.
bool NamesTheDigit(const Symbol& read, char digit) {
    if (read.text == "?") return read.candidates.find(digit) != std::string::npos;
    return read.text.size() == 1 && read.text[0] == digit;
}

// The recogniser now and then reads one glyph twice: as the same digit twice or thrice ("0"
// 47-62 and "0" 62-79 on one zero), as a digit and a doubt that names it ("?/9503" and "5" on a
// serif 5), or as a digit and a letter ("Q" and "0" on a 0). A view that reads the glyph once
// would then seem to have run two characters into one digit. Neighbours like that, whose boxes
// meet or overlap over one glyph of ink no wider than the line's digits, are the digit once. Two
// glyphs touching, as wide as two digits, stay two.
constexpr int kWidestOneDigit = 130;  // in hundredths of the line's usual digit box

// Whether `other`, boxed over the sure digit's glyph, may be that glyph read again.
bool ReadsTheDigitAgain(const Symbol& digit, const Symbol& other) {
    if (!IsDigitSymbol(digit.text)) return false;
    if (other.text == digit.text) return true;
    if (other.text == "?") return other.candidates.find(digit.text[0]) != std::string::npos;
    return other.text.size() == 1 && std::isalpha(static_cast<unsigned char>(other.text[0]));
}

std::vector<Symbol> WithOneGlyphReadOnce(std::vector<Symbol> line, Pix* ink) {
    std::vector<int> widths;
    for (const Symbol& symbol : line) {
        if (IsDigitSymbol(symbol.text)) widths.push_back(symbol.right - symbol.left);
    }
    if (widths.size() < 2) return line;
    std::nth_element(widths.begin(), widths.begin() + widths.size() / 2, widths.end());
    const int usual = widths[widths.size() / 2];
    for (size_t i = 0; i + 1 < line.size();) {
        Symbol& first = line[i];
        const Symbol& second = line[i + 1];
        const std::string* digit = ReadsTheDigitAgain(first, second)   ? &first.text
                                   : ReadsTheDigitAgain(second, first) ? &second.text
                                                                       : nullptr;
        const SymbolBox both{std::min(first.left, second.left), std::min(first.top, second.top),
                             std::max(first.right, second.right),
                             std::max(first.bottom, second.bottom)};
        const std::vector<ColumnSpan> glyphs = digit && second.left <= first.right
                                                   ? InkColumnsOfItsOwn(ink, both, 1)
                                                   : std::vector<ColumnSpan>{};
        if (glyphs.size() != 1 ||
            (glyphs[0].right - glyphs[0].left) * 100 > kWidestOneDigit * usual) {
            ++i;
            continue;
        }
        first.text = *digit;
        first.candidates.clear();
        first.left = both.left;
        first.right = both.right;
        first.top = both.top;
        first.bottom = both.bottom;
        line.erase(line.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
    return line;
}

}  // namespace

bool ReadsAGlyphTwice(const std::vector<Symbol>& line, Pix* ink) {
    return WithOneGlyphReadOnce(line, ink).size() != line.size();
}

std::vector<Symbol> PlacedInLine(std::vector<Symbol> view, float scale) {
    for (Symbol& symbol : view) {
        symbol.left = Placed(symbol.left, scale);
        symbol.top = Placed(symbol.top, scale);
        symbol.right = Placed(symbol.right, scale);
        symbol.bottom = Placed(symbol.bottom, scale);
    }
    return view;
}

std::vector<Symbol> StartedAfterTheOneBefore(std::vector<Symbol> placed,
                                             const std::vector<Symbol>& line) {
    for (size_t i = 1; i < placed.size(); ++i) {
        const Symbol& before = placed[i - 1];
        Symbol& symbol = placed[i];
        const bool reachesIntoIt = symbol.left < before.right && symbol.right > before.right;
        if (!reachesIntoIt || !IsDigitSymbol(symbol.text)) continue;
        const bool confirms = std::any_of(line.begin(), line.end(), [&](const Symbol& read) {
            const int middle = read.Middle();
            return NamesTheDigit(read, symbol.text[0]) && middle >= before.right &&
                   middle <= symbol.right;
        });
        if (confirms) symbol.left = before.right;
    }
    return placed;
}

bool ViewDigitsFitTheLine(const std::vector<Symbol>& line, const std::vector<Symbol>& view) {
    return std::all_of(view.begin(), view.end(), [&](const Symbol& symbol) {
        return !IsDigitSymbol(symbol.text) || DigitFits(symbol, line);
    });
}

bool ViewExplainsTheLine(const std::vector<Symbol>& view, const std::vector<Symbol>& lineAsRead,
                         Pix* image, Pix* ink) {
    std::vector<Symbol> line = WithOneGlyphReadOnce(lineAsRead, ink);
    StartBoxesAfterTheSymbolBefore(line);
    const std::vector<Symbol> placed = StartedAfterTheOneBefore(view, line);
    const bool twoAsOne = std::any_of(placed.begin(), placed.end(), [&](const Symbol& symbol) {
        return IsDigitSymbol(symbol.text) && OverTwoInkColumns(symbol, ink);
    });
    return !twoAsOne && ViewDigitsFitTheLine(line, placed) && !MissesAPoint(placed, image) &&
           !MayHideAJoinedPoint(placed, ink) && !LeavesAGlyphUnread(placed, ink);
}

}  // namespace zelvo
