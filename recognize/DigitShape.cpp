#include "recognize/DigitShape.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <leptonica/allheaders.h>

#include "recognize/GlyphPicture.h"
#include "recognize/GlyphJudgement.h"
#include "recognize/GlyphTemplates.h"
#include "recognize/LeptonicaHandles.h"

namespace zelvo {
namespace {

// How far from the glyph's middle, in twentieths of its height, a hole's middle must lie to
// stand low or high: a small hole, and one half the glyph's height or taller.
constexpr int kHoleOffCentre = 1;
constexpr int kTallHoleOffCentre = 2;

// What the holes of a glyph say.
enum class Holes { Unclear, TallOne, LowOne, HighOne, TwoStacked };

std::vector<GlyphArea> HolesOf(Pix* glyph, const GlyphArea& area) {
    std::vector<GlyphArea> holes;
    PixPtr filled(pixHolesByFilling(glyph, 4));
    if (!filled) return holes;
    BoxaPtr boxes(pixConnComp(filled.get(), nullptr, 4));
    if (!boxes) return holes;
    // Gaps a few pixels wide between anti-aliased strokes are no holes of the digit.
    const int smallest = std::max(3, area.h / 10);
    for (int i = 0; i < boxaGetCount(boxes.get()); ++i) {
        GlyphArea hole;
        boxaGetBoxGeometry(boxes.get(), i, &hole.x, &hole.y, &hole.w, &hole.h);
        if (hole.w >= smallest && hole.h >= smallest) holes.push_back(hole);
    }
    return holes;
}

bool Overlap(int a, int aLength, int b, int bLength) {
    return std::min(a + aLength, b + bLength) > std::max(a, b);
}

Holes Classify(const std::vector<GlyphArea>& holes, int height, bool waisted) {
    if (holes.size() == 1) {
        const GlyphArea& hole = holes[0];
        const int middle2 = 2 * hole.y + hole.h;  // twice the hole's middle
        // A zero's hole stands in the middle. A serif 6's or 9's bowl can be half the
        // digit's height too, but it stands well below or above the middle.
        const bool tall = hole.h * 2 >= height;
        const int off = tall ? kTallHoleOffCentre : kHoleOffCentre;  // in twentieths
        if (middle2 * 20 >= height * (20 + 2 * off)) return Holes::LowOne;
        if (middle2 * 20 <= height * (20 - 2 * off)) return Holes::HighOne;
        return tall ? Holes::TallOne : Holes::Unclear;
    }
    if (holes.size() == 2) {
        const GlyphArea& a = holes[0];
        const GlyphArea& b = holes[1];
        const bool sideBySide = Overlap(a.y, a.h, b.y, b.h) && !Overlap(a.x, a.w, b.x, b.w);
        // A slashed zero: its slash splits the one tall hole in two.
        if (sideBySide && a.h * 2 >= height && b.h * 2 >= height) return Holes::TallOne;
        if (!Overlap(a.y, a.h, b.y, b.h)) return waisted ? Holes::TwoStacked : Holes::TallOne;
    }
    return Holes::Unclear;
}

// The glyph's width along row `y`: from its first ink to its last.
int WidthAt(Pix* glyph, int y) {
    const int width = pixGetWidth(glyph);
    int first = -1, last = -1;
    for (int x = 0; x < width; ++x) {
        l_uint32 bit = 0;
        pixGetPixel(glyph, x, y, &bit);
        if (!bit) continue;
        if (first < 0) first = x;
        last = x;
    }
    return first < 0 ? 0 : last - first + 1;
}

// An 8 narrows between its loops; a zero whose dot or bar joins its sides ("θ") does not.
bool Waisted(Pix* glyph, const std::vector<GlyphArea>& holes) {
    const GlyphArea& upper = holes[0].y < holes[1].y ? holes[0] : holes[1];
    const GlyphArea& lower = holes[0].y < holes[1].y ? holes[1] : holes[0];
    const int waist = WidthAt(glyph, (upper.y + upper.h + lower.y) / 2);
    const int loops =
        std::max(WidthAt(glyph, upper.y + upper.h / 2), WidthAt(glyph, lower.y + lower.h / 2));
    return waist * 10 < loops * 9;
}

bool Fits(char digit, Holes holes) {
    switch (holes) {
        case Holes::TallOne:
            return digit == '0';
        case Holes::LowOne:
            return digit == '6';
        case Holes::HighOne:
            return digit == '9' || digit == '4';
        case Holes::TwoStacked:
            return digit == '8';
        case Holes::Unclear:
            break;
    }
    return true;
}

// Whether the templates take the glyph between `left` and `right` for one of `digits`.
bool TemplatesSayOneOf(Pix* ink, int left, int right, const std::string& digits) {
    GlyphArea area;
    PixPtr glyph = GlyphBetween(ink, left, right, area);
    if (!glyph) return false;
    const std::optional<GlyphGuess> guess =
        GuessGlyph(BuiltInGlyphTemplates(), PictureOfGlyph(glyph.get()));
    return guess && guess->margin >= kGlyphDoubtMargin &&
           digits.find(guess->label) != std::string::npos;
}

}  // namespace

std::string DigitsFittingShape(Pix* ink, int left, int right, const std::string& candidates) {
    GlyphArea area;
    PixPtr glyph = GlyphBetween(ink, left, right, area);
    if (!glyph) return candidates;
    const std::vector<GlyphArea> found = HolesOf(glyph.get(), area);
    const Holes holes = Classify(found, area.h, found.size() == 2 && Waisted(glyph.get(), found));
    if (holes == Holes::Unclear) return candidates;
    std::string fitting;
    for (char digit : candidates) {
        if (Fits(digit, holes)) fitting += digit;
    }
    return fitting.empty() ? candidates : fitting;
}

std::vector<Symbol> WithShapesTold(std::vector<Symbol> symbols, Pix* ink) {
    for (Symbol& symbol : symbols) {
        const bool doubt = symbol.text == "?" && !symbol.candidates.empty();
        if (!doubt && !IsDigitSymbol(symbol.text)) continue;
        const std::string fitting =
            DigitsFittingShape(ink, symbol.left, symbol.right, "0123456789");
        const auto denied = [&](char digit) { return fitting.find(digit) == std::string::npos; };
        if (doubt) {
            if (std::all_of(symbol.candidates.begin(), symbol.candidates.end(), denied)) {
                Unreadable(symbol);
                continue;
            }
            std::erase_if(symbol.candidates, denied);
            if (symbol.candidates.size() == 1 &&
                TemplatesSayOneOf(ink, symbol.left, symbol.right, symbol.candidates)) {
                symbol.text = symbol.candidates;
                symbol.candidates.clear();
            }
        } else if (denied(symbol.text[0])) {
            const bool alsoByTemplates = TemplatesSayOneOf(ink, symbol.left, symbol.right, fitting);
            symbol.candidates = alsoByTemplates ? fitting : symbol.text + fitting;
            symbol.text = "?";
        }
    }
    return symbols;
}

}  // namespace zelvo
