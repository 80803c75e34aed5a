#include "recognize/PointMarks.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <optional>
#include <vector>

#include <leptonica/allheaders.h>

#include "recognize/GlyphPicture.h"
#include "recognize/ImageCleaning.h"
#include "recognize/InkMarks.h"
#include "recognize/LeptonicaHandles.h"
#include "recognize/SegmentMarks.h"

namespace zelvo {

namespace {

// A point is at least this share of the characters' usual height, wide and tall.
constexpr int kPointShare = 8;

// The box of the eight-connected piece of `joined`'s ink that the mark is part of: the smallest
// that holds it (a frame's box holds the marks inside it too). The mark's own box where it
// touches no other ink.
std::optional<Mark> PieceHolding(const Mark& mark, Boxa* joined) {
    std::optional<Mark> smallest;
    for (int i = 0; joined && i < boxaGetCount(joined); ++i) {
        Mark piece;
        boxaGetBoxGeometry(joined, i, &piece.x, &piece.y, &piece.w, &piece.h);
        if (piece.Holds(mark) && (!smallest || piece.w * piece.h < smallest->w * smallest->h)) {
            smallest = piece;
        }
    }
    return smallest;
}

// Whether the mark is part of a larger eight-connected piece of `joined`'s ink.
bool TouchesOtherInk(const Mark& mark, Boxa* joined) {
    const std::optional<Mark> piece = PieceHolding(mark, joined);
    return piece && (piece->w > mark.w || piece->h > mark.h);
}

// The marks of `ink` between `left` and `right` that stand as points between characters, and
// the characters' usual height.
struct PointMarks {
    std::vector<Mark> points;
    int typicalHeight = 0;
};

PointMarks PointMarksOfInk(Pix* ink, int left, int right) {
    // Four-connected: a point that touches a digit only at a corner stays a mark of its own.
    const std::vector<Mark> marks = MarksOf(ink);
    const BoxaPtr joined(pixConnComp(ink, nullptr, 8));
    const CharacterRow row = CharacterRowOf(marks);
    const std::vector<Mark>& characters = row.characters;
    PointMarks found{{}, row.typicalHeight};
    if (characters.size() < 2) return found;
    const int tallest = row.tallest;
    const int baseline = row.baseline;
    for (const Mark& mark : marks) {
        const int centre = mark.x + mark.w / 2;
        const bool small =
            mark.w * 3 <= tallest && mark.h * 3 <= tallest && mark.w > 1 && mark.h > 1;
        const bool onBaseline =
            mark.Bottom() * 4 >= baseline * 4 - tallest && mark.y * 2 >= baseline * 2 - tallest;
        const bool inNumber = centre > left && centre < right;
        if (!small || !onBaseline || !inNumber) continue;
        // A small piece touching other ink at a corner is a thin stroke broken at a step (a
        // serif 2's diagonal meeting its foot) unless it is a point's size.
        const bool chip =
            mark.w * kPointShare < row.typicalHeight || mark.h * kPointShare < row.typicalHeight;
        if (chip && TouchesOtherInk(mark, joined.get())) continue;
        // A point stands between characters; a piece under one, or under a larger piece of
        // one (a serif cut off from its stroke, a thin stroke broken), is no point. Nor is a
        // piece half under a glyph that it touches at a corner: a serif 5's tail.
        const std::optional<Mark> piece = PieceHolding(mark, joined.get());
        const auto under = [&](const Mark& c) {
            const bool larger = c.w * 3 > tallest || c.h * 3 > tallest;
            if (!larger || c.y >= mark.y) return false;
            if (c.x < centre && centre < c.x + c.w) return true;
            return c.ColumnsSharedWith(mark) * 2 >= mark.w && piece && piece->Holds(c);
        };
        if (std::any_of(marks.begin(), marks.end(), under)) continue;
        // Nor is the tail a serif comma's thin stroke leaves below its head.
        const auto head = [&](const Mark& other) {
            return &other != &mark && other.Bottom() <= mark.y + 1 && other.x < mark.Right() &&
                   mark.x < other.Right() && other.w * 3 <= tallest && other.h * 3 <= tallest;
        };
        if (std::any_of(marks.begin(), marks.end(), head)) continue;
        const auto before = [&](const Mark& c) { return c.x + c.w <= centre; };
        const auto after = [&](const Mark& c) { return c.x >= centre; };
        if (std::any_of(characters.begin(), characters.end(), before) &&
            std::any_of(characters.begin(), characters.end(), after)) {
            found.points.push_back(mark);
        }
    }
    return found;
}

long PointsRead(const std::vector<Symbol>& symbols) {
    return std::count_if(symbols.begin(), symbols.end(),
                         [](const Symbol& symbol) { return IsPointSymbol(symbol.text); });
}

// Doubts count: a point the recogniser took into a doubt's box ("71?" for "71.5") stands
// between the digits all the same.
std::optional<SymbolBox> DigitsBox(const std::vector<Symbol>& symbols) {
    return BoxAround(symbols, [](const Symbol& symbol) { return CountsAsDigit(symbol.text); });
}

// Upright bars standing one over the other, each about half as high as the digits (`height`): a
// seven-segment 1, which no single piece of ink shows as a glyph of the digits' size.
std::vector<GlyphArea> StackedBars(const std::vector<Mark>& marks, int height) {
    std::vector<Mark> uprights;
    std::copy_if(marks.begin(), marks.end(), std::back_inserter(uprights), [&](const Mark& mark) {
        return mark.h >= 2 * mark.w && mark.h * 4 >= height && mark.h <= height;
    });
    std::vector<GlyphArea> bars;
    for (const Mark& upper : uprights) {
        for (const Mark& lower : uprights) {
            if (&upper == &lower) continue;
            const int across = upper.ColumnsSharedWith(lower);
            const int gap = lower.y - upper.Bottom();
            const int both = lower.Bottom() - upper.y;
            if (across * 2 < std::min(upper.w, lower.w) || gap < 0 || gap * 5 > both) continue;
            const int left = std::min(upper.x, lower.x);
            bars.push_back({left, upper.y, std::max(upper.Right(), lower.Right()) - left, both});
        }
    }
    return bars;
}

}  // namespace

int CountPointMarks(Pix* line, int left, int right) {
    PixPtr ink = DarkInk(line);
    return ink ? static_cast<int>(PointMarksOfInk(ink.get(), left, right).points.size()) : 0;
}

bool MayHideAJoinedPoint(const std::vector<Symbol>& symbols, Pix* ink) {
    struct DigitGlyph {
        char digit;
        int width;
        bool pointAfter;
    };
    std::vector<DigitGlyph> glyphs;
    for (size_t i = 0; i < symbols.size(); ++i) {
        const Symbol& symbol = symbols[i];
        if (!IsDigitSymbol(symbol.text)) continue;
        GlyphArea area;
        if (!GlyphBetween(ink, symbol.left, symbol.right, area)) continue;
        // A glyph reaching into a neighbour's box is two characters run together, not one
        // carrying a point.
        const bool shared = (i > 0 && area.x < symbols[i - 1].right - 1) ||
                            (i + 1 < symbols.size() && area.x + area.w > symbols[i + 1].left + 1);
        if (shared) continue;
        const bool pointAfter = i + 1 < symbols.size() && IsPointSymbol(symbols[i + 1].text);
        glyphs.push_back({symbol.text[0], area.w, pointAfter});
    }
    for (const DigitGlyph& wide : glyphs) {
        if (wide.pointAfter) continue;
        for (const DigitGlyph& other : glyphs) {
            if (other.digit == wide.digit && wide.width * 4 > other.width * 5) return true;
        }
    }
    return false;
}

bool LeavesAGlyphUnread(const std::vector<Symbol>& symbols, Pix* ink) {
    // The height of the digits and of what the recogniser read for them (letters, doubts), from
    // its boxes, which may hold only a part of a glyph: only a glyph of about that height, no
    // further than that above or below them, could have been a digit. Field borders and the
    // ground around light text are no such glyphs.
    const std::optional<SymbolBox> read = BoxAround(symbols, [](const Symbol& symbol) {
        return IsLatinLetter(symbol.text) || CountsAsDigit(symbol.text);
    });
    if (!read) return false;
    const int top = read->top, bottom = read->bottom;
    const int height = bottom - top;
    if (height <= 0) return false;
    std::vector<GlyphArea> areas;
    for (const Glyph& glyph : GlyphsBetween(ink, 0, static_cast<int>(pixGetWidth(ink)))) {
        areas.push_back(glyph.area);
    }
    const std::vector<GlyphArea> stacked = StackedBars(MarksOf(ink), height);
    areas.insert(areas.end(), stacked.begin(), stacked.end());
    return std::any_of(areas.begin(), areas.end(), [&](const GlyphArea& area) {
        const int middleY = area.y + area.h / 2;
        const bool digitSized = area.h * 2 >= height && area.h * 2 <= 3 * height &&
                                area.w <= 2 * height && middleY >= top - height &&
                                middleY <= bottom + height;
        if (!digitSized) return false;
        const int middle = area.x + area.w / 2;
        // The recogniser's box may hold only the glyph's stem (a 1 without its flag), but then
        // it ends where the glyph does.
        return std::none_of(symbols.begin(), symbols.end(), [&](const Symbol& symbol) {
            const bool stem = symbol.left >= area.x && symbol.right <= area.x + area.w;
            return (middle >= symbol.left && middle <= symbol.right) || stem;
        });
    });
}

bool MissesAPoint(const std::vector<Symbol>& symbols, Pix* line) {
    const std::optional<SymbolBox> digits = DigitsBox(symbols);
    return digits && CountPointMarks(line, digits->left, digits->right) > PointsRead(symbols);
}

bool MissesAPointWhenEnlarged(const std::vector<Symbol>& symbols, Pix* line) {
    // Digits under this height are read from a picture the cleaning did not scale up; at the
    // cleaning's height a point of a pixel or two is a mark the point check knows.
    constexpr int kSmallDigits = 24;
    constexpr float kCleanedDigits = 48.0f;
    const std::optional<SymbolBox> digits = DigitsBox(symbols);
    const int height = digits ? digits->bottom - digits->top : 0;
    if (height <= 0 || height >= kSmallDigits) return false;
    const float scale = kCleanedDigits / static_cast<float>(height);
    PixPtr enlarged(pixScale(line, scale, scale));
    if (!enlarged) return false;
    const auto scaled = [&](int x) {
        return static_cast<int>(std::lround(static_cast<float>(x) * scale));
    };
    return CountPointMarks(enlarged.get(), scaled(digits->left), scaled(digits->right)) >
           PointsRead(symbols);
}

bool MissesAFaintPoint(const std::vector<Symbol>& symbols, Pix* grey) {
    const std::optional<SymbolBox> digits = DigitsBox(symbols);
    PixPtr faint = digits ? FaintInk(grey) : nullptr;
    if (!faint) return false;
    const PointMarks found = PointMarksOfInk(faint.get(), digits->left, digits->right);
    // The faint level also takes in the specks that blurring and compression leave beside the
    // strokes; a point is a solid mark of some size: a few pixels each way, and a hundredth of
    // the characters' height squared.
    constexpr int kLeastPointSide = 3;
    constexpr int kPointAreaShare = 100;
    const int height = found.typicalHeight;
    const long points =
        std::count_if(found.points.begin(), found.points.end(), [&](const Mark& mark) {
            return mark.w >= kLeastPointSide && mark.h >= kLeastPointSide &&
                   mark.area * kPointAreaShare >= height * height;
        });
    return points > PointsRead(symbols);
}

}  // namespace zelvo
