#include "recognize/GlyphJudgement.h"

#include <optional>
#include <string>

#include "recognize/GlyphPicture.h"

namespace zelvo {
namespace {

// The label the templates give the glyph with at least `margin`.
std::optional<char> SurelyNamed(const Glyph& glyph, const std::vector<GlyphTemplate>& templates,
                                double margin) {
    const std::optional<GlyphGuess> guess = GuessGlyph(templates, PictureOfGlyph(glyph.pix.get()));
    if (!guess || guess->margin < margin) return std::nullopt;
    return guess->label;
}

bool IsDigitLabel(char label) {
    return label >= '0' && label <= '9';
}

void Doubt(Symbol& symbol, std::string candidates, bool maybeSign) {
    symbol.text = "?";
    symbol.candidates = std::move(candidates);
    symbol.maybeSign = maybeSign;
}

void JudgeDigit(Symbol& symbol, const Glyph& glyph, const std::vector<GlyphTemplate>& templates) {
    const std::optional<char> named = SurelyNamed(glyph, templates, kGlyphDissentMargin);
    if (!named || *named == symbol.text[0]) return;
    const bool sign = *named == kSignLabel;
    Doubt(symbol, sign ? symbol.text : symbol.text + *named, sign);
}

void JudgeSign(Symbol& symbol, const Glyph& glyph, const std::vector<GlyphTemplate>& templates) {
    const std::optional<char> named = SurelyNamed(glyph, templates, kGlyphDissentMargin);
    // Only the digit it looks like may settle it now; never the sign again.
    if (named && IsDigitLabel(*named)) Doubt(symbol, std::string(1, *named), false);
}

void Settle(Symbol& symbol, std::string text) {
    symbol.text = std::move(text);
    symbol.candidates.clear();
    symbol.maybeSign = false;
}

void JudgeDoubt(Symbol& symbol, const Glyph& glyph, const std::vector<GlyphTemplate>& templates) {
    const std::optional<char> named = SurelyNamed(glyph, templates, kGlyphSettleMargin);
    if (!named) return;
    if (*named == kSignLabel) {
        // Taking a digit for the sign drops it from the amount: where the recogniser saw no
        // sign, only a glyph far more like the sign than like any digit is one.
        if (symbol.maybeSign || SurelyNamed(glyph, templates, kGlyphSignMargin)) Settle(symbol, "\u00A5");
    } else if (symbol.candidates.empty() ||
               symbol.candidates.find(*named) != std::string::npos) {
        Settle(symbol, std::string(1, *named));
    } else {
        symbol.maybeSign = false;
    }
}

// A doubt whose box holds the currency sign the recogniser did not read and the first digit:
// the two, when the templates surely name both.
std::optional<std::vector<Symbol>> SignAndDigit(const Symbol& symbol,
                                                const std::vector<Glyph>& glyphs,
                                                const std::vector<GlyphTemplate>& templates) {
    if (glyphs.size() != 2) return std::nullopt;
    const std::optional<char> first = SurelyNamed(glyphs[0], templates, kGlyphSettleMargin);
    const std::optional<char> second = SurelyNamed(glyphs[1], templates, kGlyphSettleMargin);
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

}  // namespace

bool ShowsSegmentDigits(const std::vector<Symbol>& symbols, Pix* ink,
                        const std::vector<GlyphTemplate>& templates) {
    int digits = 0, segments = 0;
    for (const Symbol& symbol : symbols) {
        if (!IsDigitSymbol(symbol.text) && symbol.text != "?") continue;
        GlyphArea area;
        PixPtr glyph = GlyphBetween(ink, symbol.left, symbol.right, area);
        if (!glyph) continue;
        const std::optional<GlyphGuess> guess = GuessGlyph(templates, PictureOfGlyph(glyph.get()));
        if (!guess) continue;
        ++digits;
        segments += guess->segmentsMargin > 1;
    }
    return segments * 2 > digits;
}

std::vector<Symbol> WithGlyphsJudged(std::vector<Symbol> symbols, Pix* ink,
                                     const std::vector<GlyphTemplate>& templates) {
    if (templates.empty()) return symbols;
    std::vector<Symbol> judged;
    for (size_t i = 0; i < symbols.size(); ++i) {
        Symbol& symbol = symbols[i];
        const bool digit = IsDigitSymbol(symbol.text);
        const bool doubt = symbol.text == "?";
        const bool beforeDigit = i + 1 < symbols.size() &&
                                 (IsDigitSymbol(symbols[i + 1].text) || symbols[i + 1].text == "?");
        const bool sign = MayBeCurrencySign(symbol.text) && beforeDigit;
        const std::vector<Glyph> glyphs =
            digit || doubt || sign ? GlyphsBetween(ink, symbol.left, symbol.right)
                                   : std::vector<Glyph>{};
        if (glyphs.size() == 1) {
            if (digit) JudgeDigit(symbol, glyphs[0], templates);
            if (doubt) JudgeDoubt(symbol, glyphs[0], templates);
            if (sign) JudgeSign(symbol, glyphs[0], templates);
        } else if (doubt) {
            if (std::optional<std::vector<Symbol>> split = SignAndDigit(symbol, glyphs, templates)) {
                judged.insert(judged.end(), split->begin(), split->end());
                continue;
            }
        }
        judged.push_back(std::move(symbol));
    }
    return judged;
}

}  // namespace zelvo
