#include "recognize/GlyphJudgement.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include <leptonica/allheaders.h>

#include "recognize/GlyphPicture.h"
#include "recognize/SegmentMarks.h"

namespace zelvo {
namespace {

// A digit looks like a seven-segment face's when the nearest such template is this much nearer
// than the nearest of a text face; a blurred text digit is often barely nearer.
constexpr double kSegmentFaceMargin = 1.1;
// A display's digit is mostly this much nearer; text blurred into a segment look seldom is.
constexpr double kClearSegmentFaceMargin = 2.0;
// Two digits run into one glyph make it at least this many tenths of its height wide.
constexpr int kJoinedTenths = 12;
// No digit alone is wider than this many tenths of its height.
constexpr int kOneDigitTenths = 9;
// A box at most this share of the digits' height wide is a sliver: even a 1's stem is wider.
constexpr int kSliversPerHeight = 8;

bool IsDigitLabel(char label) {
    return label >= '0' && label <= '9';
}

bool AsWideAsTwoDigits(const Glyph& glyph) {
    return glyph.area.w * 10 >= glyph.area.h * kJoinedTenths;
}

// A letter or mark read inside the number ("1/.38"), as the whole number before its point
// ("@.23") or as the whole number after the currency sign ("¥t" for "¥1"): a digit the
// recogniser misread. One before the number may be a piece of the sign.
bool IsMarkInNumber(const std::vector<Symbol>& symbols, size_t i) {
    const Symbol& symbol = symbols[i];
    const bool ascii = symbol.text.size() == 1 && static_cast<unsigned char>(symbol.text[0]) < 0x80;
    if (!ascii || IsNumberLike(symbol.text) || MayBeCurrencySign(symbol.text)) return false;
    const bool next = i + 1 < symbols.size() && !symbols[i + 1].startsWord;
    const bool gluedBefore = next && IsNumberLike(symbols[i + 1].text);
    const bool gluedAfter = i > 0 && !symbol.startsWord && IsNumberLike(symbols[i - 1].text);
    const bool beforePoint = next && IsPointSymbol(symbols[i + 1].text);
    const bool aloneAfterSign = i > 0 && IsYenSign(symbols[i - 1].text) && !next;
    return (gluedBefore && gluedAfter) || (beforePoint && !gluedAfter) || aloneAfterSign;
}

// A character of another script (a label's, a unit's) that is no currency sign.
bool IsOtherCharacter(const Symbol& symbol) {
    return !symbol.text.empty() && static_cast<unsigned char>(symbol.text[0]) >= 0x80 &&
           !MayBeCurrencySign(symbol.text);
}

// What the templates make of each glyph; each glyph is compared with them once.
class Guesses {
public:
    explicit Guesses(const std::vector<GlyphTemplate>& templates) : m_templates(templates) {}

    std::optional<GlyphGuess> Of(const Glyph& glyph) {
        for (const auto& [area, guess] : m_known) {
            if (area == glyph.area) return guess;
        }
        std::optional<GlyphGuess> guess = GuessGlyph(m_templates, PictureOfGlyph(glyph.pix.get()));
        m_known.emplace_back(glyph.area, guess);
        return guess;
    }

    // The label the templates give the glyph at least `margin` ahead of any other.
    std::optional<char> Named(const Glyph& glyph, double margin) {
        const std::optional<GlyphGuess> guess = Of(glyph);
        if (!guess || guess->margin < margin) return std::nullopt;
        return guess->label;
    }

private:
    const std::vector<GlyphTemplate>& m_templates;
    std::vector<std::pair<GlyphArea, std::optional<GlyphGuess>>> m_known;
};

void Doubt(Symbol& symbol, std::string candidates, bool maybeSign) {
    symbol.text = "?";
    symbol.candidates = std::move(candidates);
    symbol.maybeSign = maybeSign;
}

void Settle(Symbol& symbol, std::string text) {
    symbol.text = std::move(text);
    symbol.candidates.clear();
    symbol.maybeSign = false;
}

void JudgeDigit(Symbol& symbol, const Glyph& glyph, Guesses& guesses) {
    const std::optional<GlyphGuess> guess = guesses.Of(glyph);
    if (!guess) return;
    if (guess->label == symbol.text[0]) {
        // Barely more like it than like another digit: the recogniser may have taken that one
        // for it.
        if (guess->margin < kGlyphDoubtMargin && IsDigitLabel(guess->runnerUp)) {
            Doubt(symbol, symbol.text + guess->runnerUp, false);
        }
        return;
    }
    if (guess->margin < kGlyphDoubtMargin) return;
    const bool sign = guess->label == kSignLabel;
    Doubt(symbol, sign ? symbol.text : symbol.text + guess->label, sign);
}

void JudgeSign(Symbol& symbol, const Glyph& glyph, Guesses& guesses) {
    const std::optional<char> named = guesses.Named(glyph, kGlyphNotSignMargin);
    // Only the digit it looks like may settle it now; never the sign again.
    if (named && IsDigitLabel(*named)) Doubt(symbol, std::string(1, *named), false);
}

void JudgeDoubt(Symbol& symbol, const Glyph& glyph, Guesses& guesses) {
    const std::optional<char> named = guesses.Named(glyph, kGlyphSettleMargin);
    if (!named) return;
    if (*named == kSignLabel) {
        // Named the sign, but not surely enough to be taken for it: no view may make it a digit
        // before the amount ("80.1" for "¥0.1").
        if (symbol.maybeSign || guesses.Named(glyph, kGlyphSignMargin)) {
            Settle(symbol, "\u00A5");
        } else {
            symbol.maybeSign = true;
        }
    } else if (symbol.candidates.empty() ||
               symbol.candidates.find(*named) != std::string::npos) {
        Settle(symbol, std::string(1, *named));
    } else {
        symbol.maybeSign = false;
    }
}

// The digits whose glyphs enclose ground. A glyph that encloses none is none of them as drawn
// (a zero whose counter blur filled in or whose thin top broke open, a 5), though the templates
// and the other views may name it one.
bool HasAHole(char digit) {
    return std::string_view("0689").find(digit) != std::string_view::npos;
}

bool EnclosesNoGround(const Glyph& glyph) {
    PixPtr holes(pixHolesByFilling(glyph.pix.get(), 4));
    l_int32 ground = 0;
    return holes && pixCountPixels(holes.get(), &ground, nullptr) == 0 && ground == 0;
}

// A digit with a hole, or a doubt only between such digits.
bool OnlyADigitWithAHole(const Symbol& symbol) {
    if (IsDigitSymbol(symbol.text)) return HasAHole(symbol.text[0]);
    return symbol.text == "?" && !symbol.candidates.empty() &&
           std::all_of(symbol.candidates.begin(), symbol.candidates.end(), HasAHole);
}

// A doubt whose box holds the currency sign the recogniser did not read and the first digit:
// the two, when the templates surely name both.
std::optional<std::vector<Symbol>> SignAndDigit(const Symbol& symbol,
                                                const std::vector<Glyph>& glyphs,
                                                Guesses& guesses) {
    if (glyphs.size() != 2) return std::nullopt;
    const std::optional<char> first = guesses.Named(glyphs[0], kGlyphSettleMargin);
    const std::optional<char> second = guesses.Named(glyphs[1], kGlyphSettleMargin);
    if (first != kSignLabel || !second || !IsDigitLabel(*second)) return std::nullopt;
    const bool candidate =
        symbol.candidates.empty() || symbol.candidates.find(*second) != std::string::npos;
    if (!candidate) return std::nullopt;
    Symbol sign = symbol;
    Settle(sign, "\u00A5");
    sign.right = glyphs[0].area.x + glyphs[0].area.w;
    Symbol digit = symbol;
    Settle(digit, std::string(1, *second));
    digit.left = glyphs[1].area.x;
    digit.startsWord = false;
    return std::vector<Symbol>{sign, digit};
}

// The glyph's ink between `left` and `right` (line positions), cut to its own box.
std::optional<Glyph> PartOf(const Glyph& glyph, int left, int right) {
    left = std::max(left, glyph.area.x);
    right = std::min(right, glyph.area.x + glyph.area.w);
    if (right <= left || right - left >= glyph.area.w) return std::nullopt;
    PixPtr kept = ClippedTo(glyph.pix.get(), left - glyph.area.x, 0, right - left, glyph.area.h);
    Box* ink = nullptr;
    PixPtr cut;
    if (kept) {
        Pix* raw = nullptr;
        if (pixClipToForeground(kept.get(), &raw, &ink) == 0) cut.reset(raw);
    }
    if (!cut || !ink) {
        boxDestroy(&ink);
        return std::nullopt;
    }
    GlyphArea area;
    boxGetGeometry(ink, &area.x, &area.y, &area.w, &area.h);
    boxDestroy(&ink);
    area.x += left;
    area.y += glyph.area.y;
    return Glyph{std::move(cut), area};
}

// The height of the line's digits and the row their feet stand on, from its sure digits.
struct DigitRow {
    int height = 0;
    int baseline = 0;

    bool Holds(const GlyphArea& area) const {
        return height > 0 && std::abs(area.h - height) * 7 <= height &&
               std::abs(area.y + area.h - baseline) * 10 <= height;
    }
};

// Whether the glyphs hold more than one of the digits' size: of the line's digit row, or, on a
// line without one, nearly as tall as the symbol's box.
bool SeveralDigitSized(const std::vector<Glyph>& glyphs, const DigitRow& row,
                       const Symbol& symbol) {
    const auto digitSized = [&](const Glyph& glyph) {
        if (row.height > 0) return row.Holds(glyph.area);
        return glyph.area.h * 10 >= (symbol.bottom - symbol.top) * 7;
    };
    return std::count_if(glyphs.begin(), glyphs.end(), digitSized) > 1;
}

// A character beside the number whose box holds a digit the recogniser took into it ("到" for
// "¥1" before "3,273").
bool HoldsADigit(const std::vector<Glyph>& glyphs, const DigitRow& row, Guesses& guesses) {
    constexpr double kClearDigit = 2.0;
    return std::any_of(glyphs.begin(), glyphs.end(), [&](const Glyph& glyph) {
        if (!row.Holds(glyph.area)) return false;
        const std::optional<char> named = guesses.Named(glyph, kClearDigit);
        return named && IsDigitLabel(*named);
    });
}

// The marks of ink in the symbol's columns, their boxes from the symbol's left; null when the
// columns are none.
BoxaPtr MarksInColumns(const Symbol& symbol, Pix* ink) {
    const int width = symbol.right - symbol.left;
    PixPtr part = width > 0 ? ClippedTo(ink, symbol.left, 0, width, pixGetHeight(ink)) : nullptr;
    return BoxaPtr(part ? pixConnComp(part.get(), nullptr, 8) : nullptr);
}

// Whether the ink in the symbol's columns is upright bars, one over another, that together
// stand nearly as tall as its box.
bool OfStackedBars(const Symbol& symbol, Pix* ink) {
    constexpr int kSpeck = 2;
    BoxaPtr pieces = MarksInColumns(symbol, ink);
    if (!pieces) return false;
    int count = 0, top = pixGetHeight(ink), bottom = 0;
    for (int i = 0; i < boxaGetCount(pieces.get()); ++i) {
        int x = 0, y = 0, w = 0, h = 0;
        boxaGetBoxGeometry(pieces.get(), i, &x, &y, &w, &h);
        if (w <= kSpeck && h <= kSpeck) continue;
        if (h < 3 * w) return false;
        ++count;
        top = std::min(top, y);
        bottom = std::max(bottom, y + h);
    }
    return count > 1 && (bottom - top) * 10 >= (symbol.bottom - symbol.top) * 7;
}

// Whether the symbol's box holds ink, and none but the glyphs' (specks aside).
bool InkIsAllOfTheGlyphs(const Symbol& symbol, const std::vector<const Glyph*>& glyphs, Pix* ink) {
    constexpr double kSpecks = 1.1;
    l_int32 own = 0;
    int top = pixGetHeight(ink), bottom = 0;
    for (const Glyph* glyph : glyphs) {
        const int left = std::max(symbol.left, glyph->area.x);
        const int right = std::min(symbol.right, glyph->area.x + glyph->area.w);
        if (right <= left) continue;
        PixPtr part =
            ClippedTo(glyph->pix.get(), left - glyph->area.x, 0, right - left, glyph->area.h);
        l_int32 count = 0;
        if (!part || pixCountPixels(part.get(), &count, nullptr) != 0) return false;
        own += count;
        top = std::min(top, glyph->area.y);
        bottom = std::max(bottom, glyph->area.y + glyph->area.h);
    }
    if (own == 0) return false;
    const int width = symbol.right - symbol.left;
    const double inBox =
        InkShare(ink, symbol.left, top, width, bottom - top) * width * (bottom - top);
    return inBox <= own * kSpecks;
}

bool InkIsAllTheGlyphs(const Symbol& symbol, const Glyph& glyph, Pix* ink) {
    return InkIsAllOfTheGlyphs(symbol, {&glyph}, ink);
}

// Whether the glyph has a point run into its foot on the right: ink right of the columns its
// upper part fills, low down and about as tall as it is wide ("3.1" read as 31). A serif's
// foot sticks out less, or is flatter; a 4's bar is taller. A 1's foot bar looks like a point
// there: a 1 is not judged so.
bool HasAPointAtItsFoot(Pix* glyph) {
    constexpr int kUpperTenths = 7;
    constexpr int kNarrowestPercent = 8;
    const int w = pixGetWidth(glyph), h = pixGetHeight(glyph);
    const std::vector<ColumnSpan> upper = InkColumnSpans(glyph, 0, w, 0, h * kUpperTenths / 10, 1);
    if (upper.empty() || upper.back().right >= w) return false;
    const int pointWidth = w - upper.back().right;
    PixPtr right = ClippedTo(glyph, upper.back().right, 0, pointWidth, h);
    Box* ink = nullptr;
    if (!right || pixClipBoxToForeground(right.get(), nullptr, nullptr, &ink) != 0 || !ink) {
        return false;
    }
    l_int32 top = 0;
    boxGetGeometry(ink, nullptr, &top, nullptr, nullptr);
    boxDestroy(&ink);
    const int pointHeight = h - top;
    return pointWidth * 100 >= h * kNarrowestPercent && pointHeight * 5 >= pointWidth * 3 &&
           pointHeight * 2 <= pointWidth * 3;
}

// The digits after the separator at `i`, up to the end of the number or the next separator,
// and whether a separator follows them.
struct DigitsAfter {
    size_t count = 0;
    bool separatorFollows = false;
};
DigitsAfter DigitsAfterSeparator(const std::vector<Symbol>& symbols, size_t i) {
    DigitsAfter after;
    for (size_t j = i + 1; j < symbols.size() && !symbols[j].startsWord; ++j) {
        if (IsPointSymbol(symbols[j].text)) {
            after.separatorFollows = true;
            break;
        }
        if (!CountsAsDigit(symbols[j].text)) return {};
        ++after.count;
    }
    return after;
}

// The one mark of ink in the symbol's columns, where they hold just one.
std::optional<GlyphArea> OnlyMark(const Symbol& symbol, Pix* ink) {
    BoxaPtr marks = MarksInColumns(symbol, ink);
    if (!marks || boxaGetCount(marks.get()) != 1) return std::nullopt;
    GlyphArea area;
    boxaGetBoxGeometry(marks.get(), 0, &area.x, &area.y, &area.w, &area.h);
    return area;
}

// The separator at `i` as its place and mark show it, where the recogniser took a point for a
// comma or a comma for a point; none where it stands as read.
// - A comma that is the line's only separator, before the number's last one or two digits, its
//   mark on the digits' foot without a tail ("447,95"), is the point: a comma so placed would be
//   no thousands separator, and the amount nothing.
// - A point before three digits and the line's other separator ("2.569.4") is a thousands
//   separator: two points would be no amount. Drawn small, a comma is as square as a point.
//   Before three digits and the end ("1.614") it stays a point, which gives no amount: a digit
//   read too many after a point would otherwise make the amount a thousand times larger.
std::optional<std::string> SeparatorAsShown(const std::vector<Symbol>& symbols, size_t i, Pix* ink,
                                            const DigitRow& row) {
    const bool comma = symbols[i].text == ",";
    if ((!comma && symbols[i].text != ".") || row.height == 0) return std::nullopt;
    const auto isSeparator = [](const Symbol& symbol) { return IsPointSymbol(symbol.text); };
    const auto separators = std::count_if(symbols.begin(), symbols.end(), isSeparator);
    const auto before =
        std::count_if(symbols.begin(), symbols.begin() + static_cast<long>(i), isSeparator);
    const DigitsAfter after = DigitsAfterSeparator(symbols, i);
    const bool decimals =
        after.count >= 1 && after.count <= 2 && !after.separatorFollows && separators == 1;
    const bool thousands =
        after.count == 3 && after.separatorFollows && before == 0 && separators == 2;
    if (comma ? !decimals : !thousands) return std::nullopt;
    const std::optional<GlyphArea> mark = OnlyMark(symbols[i], ink);
    if (!mark) return std::nullopt;
    const int slack = std::max(1, row.height / 12);
    const int foot = mark->y + mark->h;
    const bool onFoot = foot <= row.baseline + slack && foot >= row.baseline - slack;
    if (comma && onFoot && mark->h * 3 <= row.height && mark->h * 2 <= mark->w * 3) return ".";
    if (!comma && mark->h * 3 <= row.height) return ",";
    return std::nullopt;
}

}  // namespace

GlyphJudgement JudgeByGlyphs(std::vector<Symbol> symbols, Pix* ink,
                             const std::vector<GlyphTemplate>& templates) {
    GlyphJudgement judgement;
    if (templates.empty()) {
        judgement.symbols = std::move(symbols);
        return judgement;
    }
    Guesses guesses(templates);
    const size_t count = symbols.size();
    std::vector<std::vector<Glyph>> glyphs(count);
    // Told before the loop below moves the symbols out one by one.
    std::vector<bool> besideDigit(count), beforeDigit(count), markInNumber(count), sureDigit(count);
    for (size_t i = 0; i < count; ++i) {
        markInNumber[i] = IsMarkInNumber(symbols, i);
        sureDigit[i] = IsDigitSymbol(symbols[i].text);
    }
    DigitRow row;
    int digits = 0, segmentDigits = 0;
    bool clearlySegments = false;
    for (size_t i = 0; i < count; ++i) {
        beforeDigit[i] = i + 1 < count && CountsAsDigit(symbols[i + 1].text);
        besideDigit[i] = beforeDigit[i] || (i > 0 && CountsAsDigit(symbols[i - 1].text));
        const Symbol& symbol = symbols[i];
        const bool beforeMark = i + 1 < count && markInNumber[i + 1];
        const bool wanted = CountsAsDigit(symbol.text) ||
                            (MayBeCurrencySign(symbol.text) && (beforeDigit[i] || beforeMark)) ||
                            (IsOtherCharacter(symbol) && besideDigit[i]) || markInNumber[i];
        if (!wanted) continue;
        glyphs[i] = GlyphsBetween(ink, symbol.left, symbol.right);
        if (sureDigit[i] && glyphs[i].empty() && OfStackedBars(symbol, ink)) {
            // A seven-segment 1: bars one over the other, none a glyph alone.
            ++digits;
            ++segmentDigits;
            clearlySegments = true;
        }
        if (!CountsAsDigit(symbol.text) || glyphs[i].size() != 1) continue;
        const GlyphArea& area = glyphs[i][0].area;
        if (sureDigit[i]) {
            row.height = std::max(row.height, area.h);
            row.baseline = std::max(row.baseline, area.y + area.h);
        }
        if (const std::optional<GlyphGuess> guess = guesses.Of(glyphs[i][0])) {
            ++digits;
            segmentDigits += guess->segmentsMargin > kSegmentFaceMargin;
            clearlySegments = clearlySegments || guess->segmentsMargin >= kClearSegmentFaceMargin;
        }
    }
    for (size_t i = 0; i < count; ++i) {
        if (std::optional<std::string> shown = SeparatorAsShown(symbols, i, ink, row)) {
            symbols[i].text = std::move(*shown);
        }
    }
    const bool pointRead = std::any_of(symbols.begin(), symbols.end(), [](const Symbol& symbol) {
        return IsPointSymbol(symbol.text);
    });
    judgement.segmentDigits = segmentDigits * 2 > digits && (clearlySegments || !pointRead);
    // Where no digit was read right, a misread one stands as tall as the sign, on its row.
    DigitRow markRow = row;
    for (size_t i = 0; i < count && markRow.height == 0; ++i) {
        if (IsYenSign(symbols[i].text) && glyphs[i].size() == 1) {
            markRow.height = glyphs[i][0].area.h;
            markRow.baseline = glyphs[i][0].area.y + glyphs[i][0].area.h;
        }
    }

    const auto ownGlyph = [&](size_t i) {
        const auto same = [&](size_t j) {
            return glyphs[j].size() == 1 && glyphs[j][0].area == glyphs[i][0].area;
        };
        return glyphs[i].size() == 1 && !(i > 0 && same(i - 1)) && !(i + 1 < count && same(i + 1));
    };
    // A sign read on the left part of the next digit's glyph: the sign run into the digit, or
    // a digit run into the next ("$" read on the 5 of "58"). That part is judged alone.
    const auto signPartIsADigit = [&](size_t i) {
        if (i + 1 >= count || !glyphs[i].empty() || glyphs[i + 1].size() != 1) return false;
        const Glyph& next = glyphs[i + 1][0];
        const int middle = symbols[i].Middle();
        if (middle < next.area.x || middle > next.area.x + next.area.w) return false;
        std::optional<Glyph> part = PartOf(next, next.area.x, symbols[i].right);
        if (!part) return false;
        const std::optional<char> named = guesses.Named(*part, kGlyphNotSignMargin);
        return named && IsDigitLabel(*named);
    };
    // A digit whose glyph runs into its neighbour's ("44" touching): its part of the glyph, cut
    // where the recogniser parted the two, must look like that digit alone.
    const auto ownPartIsTheDigit = [&](size_t i) {
        const Glyph& glyph = glyphs[i][0];
        const auto sharedWith = [&](size_t j) {
            return glyphs[j].size() == 1 && glyphs[j][0].area == glyph.area;
        };
        // The recogniser's boxes often start where the one before them does, and end right.
        const auto cutAfter = [&](size_t j) {
            const Symbol& next = symbols[j + 1];
            return next.left >= symbols[j].right ? (symbols[j].right + next.left) / 2
                                                 : symbols[j].right;
        };
        const int left = i > 0 && sharedWith(i - 1) ? cutAfter(i - 1) : glyph.area.x;
        const int right =
            i + 1 < count && sharedWith(i + 1) ? cutAfter(i) : glyph.area.x + glyph.area.w;
        const std::optional<Glyph> part = PartOf(glyph, left, right);
        return part && guesses.Named(*part, kGlyphSettleMargin) == symbols[i].text[0];
    };
    // A digit without a glyph of its own whose ink is all a part of the glyph of the symbol
    // before it, which is no digit: the right half of a full-width sign read as a 6, unless
    // that part looks like the digit alone.
    const auto onTheGlyphBeforeAndUnlikeIt = [&](size_t i) {
        if (i == 0 || sureDigit[i - 1] || glyphs[i - 1].size() != 1) return false;
        const Glyph& before = glyphs[i - 1][0];
        if (!InkIsAllTheGlyphs(symbols[i], before, ink)) return false;
        const std::optional<Glyph> part = PartOf(before, symbols[i].left, symbols[i].right);
        return !part || guesses.Named(*part, kGlyphSettleMargin) != symbols[i].text[0];
    };
    // A digit read on a glyph far wider than any digit stands, its box shared with no other
    // symbol: characters run together ("4" for "50.4", one blot), read as one.
    const auto aloneOnAWideGlyph = [&](size_t i) {
        constexpr int kWidestDigitTenths = 16;
        const GlyphArea& area = glyphs[i][0].area;
        const bool overlaps = (i > 0 && symbols[i - 1].right > symbols[i].left) ||
                              (i + 1 < count && symbols[i + 1].left < symbols[i].right);
        return !overlaps && area.w * 10 > area.h * kWidestDigitTenths;
    };
    // A symbol without a glyph of its own, in its neighbour's box, whose ink is all of the
    // neighbour's glyph, one wider than tall: two characters run together and read twice.
    const auto onANeighboursGlyph = [&](size_t i) {
        const auto onGlyphOf = [&](size_t j) {
            const bool inBox =
                symbols[i].left >= symbols[j].left && symbols[i].right <= symbols[j].right;
            if (glyphs[j].size() != 1 || !inBox) return false;
            const Glyph& glyph = glyphs[j][0];
            return AsWideAsTwoDigits(glyph) && InkIsAllTheGlyphs(symbols[i], glyph, ink);
        };
        return (i > 0 && onGlyphOf(i - 1)) || (i + 1 < count && onGlyphOf(i + 1));
    };
    // A mark read between two sure digits that holds no glyph of its own, only parts of the
    // digits' glyphs, each of which the templates name as its digit: the recogniser read the
    // space between them as a mark ("2.5/7"). A glyph that held more than its digit would not
    // be named so.
    const auto phantomBetweenDigits = [&](size_t i) {
        if (!markInNumber[i] || !glyphs[i].empty() || i == 0 || i + 1 >= count) return false;
        const auto namedAsRead = [&](size_t j, const Symbol& judged) {
            if (!sureDigit[j] || !IsDigitSymbol(judged.text) || glyphs[j].size() != 1 ||
                !ownGlyph(j)) {
                return false;
            }
            const GlyphArea& area = glyphs[j][0].area;
            return area.w * 10 <= area.h * kOneDigitTenths &&
                   guesses.Named(glyphs[j][0], kGlyphDoubtMargin) == judged.text[0];
        };
        // The one before is judged already (its box is left where it was moved from); the one
        // after is judged as read.
        const bool beforeKept = !judgement.symbols.empty() &&
                                judgement.symbols.back().left == symbols[i - 1].left &&
                                judgement.symbols.back().right == symbols[i - 1].right;
        return beforeKept && namedAsRead(i - 1, judgement.symbols.back()) &&
               namedAsRead(i + 1, symbols[i + 1]) &&
               InkIsAllOfTheGlyphs(symbols[i], {&glyphs[i - 1][0], &glyphs[i + 1][0]}, ink);
    };
    // One glyph as wide as two characters before any digit: the sign run into the first digit,
    // which blurred ("¥0") the templates may name a 4. Named so, it puts a digit before the
    // amount ("40.1" for "¥0.1").
    const auto signAndDigitNamedADigit = [&](size_t i, bool afterADigit) {
        if (afterADigit || glyphs[i].size() != 1) return false;
        const Glyph& glyph = glyphs[i][0];
        const std::optional<char> named = guesses.Named(glyph, kGlyphSettleMargin);
        return named && IsDigitLabel(*named) && AsWideAsTwoDigits(glyph);
    };
    const auto mayBeAOne = [](const Symbol& symbol) {
        return symbol.text == "1" ||
               (symbol.text == "?" &&
                (symbol.candidates.empty() || symbol.candidates.find('1') != std::string::npos));
    };
    // A label's characters read as one digit ("3" for "金额" before ": ¥56.51"): a box far
    // wider than a digit's, before the colon or sign that parts the label from the amount.
    const auto labelReadAsADigit = [&](size_t i) {
        constexpr int kWidestDigitBoxTenths = 15;
        const int width = symbols[i].right - symbols[i].left;
        if (row.height == 0 || width * 10 <= row.height * kWidestDigitBoxTenths) return false;
        for (size_t j = i + 1; j < count; ++j) {
            const std::string& text = symbols[j].text;
            if (IsYenSign(text) || text == ":" || text == "\uFF1A") return true;
            if (CountsAsDigit(text)) return false;
        }
        return false;
    };
    bool digitSeen = false;
    for (size_t i = 0; i < count; ++i) {
        Symbol& symbol = symbols[i];
        const bool digit = sureDigit[i];
        if ((digit || symbol.text == "?") && !digitSeen && labelReadAsADigit(i)) {
            if (i + 1 < count) symbols[i + 1].startsWord = true;
            continue;
        }
        const bool afterADigit = digitSeen;
        digitSeen = digitSeen || CountsAsDigit(symbol.text);
        const bool doubt = symbol.text == "?";
        if (digit || doubt) {
            const bool colon = glyphs[i].empty() && IsColonBetween(ink, symbol.left, symbol.right);
            const bool shared = glyphs[i].size() == 1 && !ownGlyph(i);
            const bool partOfAnother = digit && glyphs[i].empty() && onTheGlyphBeforeAndUnlikeIt(i);
            // A point or speck read as a digit as well ("22,871.11" for "22,871.1").
            const bool onASpeck = glyphs[i].empty() && row.height > 0 &&
                                  (symbol.bottom - symbol.top) * 2 < row.height;
            // A box a sliver wide on no glyph: the edge of a mark beside a digit, such as a
            // colon's dots read as a 1 before "0.29".
            const bool onASliver = glyphs[i].empty() && row.height > 0 &&
                                   (symbol.right - symbol.left) * kSliversPerHeight <= row.height;
            if (colon && !afterADigit) {
                // A label's colon: it parts the label from the amount.
                Settle(symbol, ":");
                symbol.startsWord = true;
                if (i + 1 < count) symbols[i + 1].startsWord = true;
            } else if (colon) {
                Unreadable(symbol);
            } else if (shared) {
                if (!digit || !ownPartIsTheDigit(i)) Unreadable(symbol);
            } else if (partOfAnother || onASpeck || onASliver) {
                Unreadable(symbol);
            } else if (doubt && signAndDigitNamedADigit(i, afterADigit)) {
                Unreadable(symbol);
            } else if (glyphs[i].size() == 1 && aloneOnAWideGlyph(i)) {
                Unreadable(symbol);
            } else if (glyphs[i].size() == 1 && !pointRead && beforeDigit[i] &&
                       !mayBeAOne(symbol) && HasAPointAtItsFoot(glyphs[i][0].pix.get())) {
                // The point the recogniser took into this digit: the amount would be ten or a
                // hundred times too large.
                Unreadable(symbol);
            } else if (doubt && glyphs[i].empty() && onANeighboursGlyph(i)) {
                // Two characters run into one glyph: another view parts them no better.
                Unreadable(symbol);
                symbol.runTogether = true;
            } else if (glyphs[i].size() == 1) {
                if (digit) JudgeDigit(symbol, glyphs[i][0], guesses);
                // Inside the number, a blot as wide as two digits is theirs run together, which
                // the templates name as no digit of it ("26942.11" for a blurred 26952.11).
                if (doubt && !(afterADigit && AsWideAsTwoDigits(glyphs[i][0]))) {
                    JudgeDoubt(symbol, glyphs[i][0], guesses);
                }
                // "2.78" for a bold "2.70" whose zero blur filled in.
                if (doubt && OnlyADigitWithAHole(symbol) && EnclosesNoGround(glyphs[i][0])) {
                    Unreadable(symbol);
                }
            } else if (doubt || !afterADigit) {
                // The sign the recogniser did not read, run into the first digit: for a sure
                // digit, the templates must name it as the recogniser did.
                Symbol asDoubt = symbol;
                if (digit) asDoubt.candidates = symbol.text;
                if (std::optional<std::vector<Symbol>> split =
                        SignAndDigit(asDoubt, glyphs[i], guesses)) {
                    judgement.symbols.insert(judgement.symbols.end(), split->begin(),
                                             split->end());
                    continue;
                }
                // Another view would read one digit there, and lose the rest.
                if (doubt && glyphs[i].size() > 1) Unreadable(symbol);
                if (digit && SeveralDigitSized(glyphs[i], row, symbol)) Unreadable(symbol);
            } else if (SeveralDigitSized(glyphs[i], row, symbol)) {
                // Characters run together and read as one digit ("6" for "69.6").
                Unreadable(symbol);
            }
        } else if (phantomBetweenDigits(i)) {
            if (i + 1 < count) symbols[i + 1].startsWord = symbol.startsWord;
            continue;
        } else if (MayBeCurrencySign(symbol.text) && beforeDigit[i] && signPartIsADigit(i)) {
            Unreadable(symbol);
        } else if (MayBeCurrencySign(symbol.text) && beforeDigit[i] && glyphs[i].size() == 1) {
            JudgeSign(symbol, glyphs[i][0], guesses);
        } else if (IsOtherCharacter(symbol) && besideDigit[i] &&
                   HoldsADigit(glyphs[i], row, guesses)) {
            Unreadable(symbol);
        } else if (markInNumber[i] && glyphs[i].size() == 1 && ownGlyph(i) &&
                   markRow.Holds(glyphs[i][0].area)) {
            // Only a box that holds the glyph alone: the recogniser may have read a mark for
            // all of several characters ("U" for a seven-segment "1.0").
            const std::optional<GlyphGuess> guess = guesses.Of(glyphs[i][0]);
            const bool named = guess && guess->margin >= kGlyphSettleMargin &&
                               IsDigitLabel(guess->label) &&
                               InkIsAllTheGlyphs(symbol, glyphs[i][0], ink);
            // "@" is the recogniser's reading of a ring with ink inside: a monospaced face's
            // dotted zero, which blurred looks like an 8 to the templates as well.
            const bool ringOrBlot =
                named && ((symbol.text == "@" && guess->label == '8') ||
                          (HasAHole(guess->label) && EnclosesNoGround(glyphs[i][0])));
            if (ringOrBlot || (named && signAndDigitNamedADigit(i, afterADigit))) {
                Unreadable(symbol);
            } else if (named) {
                symbol.text = std::string(1, guess->label);
            }
        }
        judgement.symbols.push_back(std::move(symbol));
    }
    return judgement;
}

}  // namespace zelvo
