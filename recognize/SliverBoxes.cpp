#include "recognize/SliverBoxes.h"

#include <algorithm>

#include "recognize/GlyphPicture.h"

namespace zelvo {
namespace {

bool InAnyBox(const std::vector<Symbol>& symbols, const GlyphArea& area) {
    return std::any_of(symbols.begin(), symbols.end(), [&](const Symbol& symbol) {
        return symbol.left < area.x + area.w && symbol.right > area.x;
    });
}

}  // namespace

std::vector<Symbol> WithSliversOnTheirGlyphs(std::vector<Symbol> symbols, Pix* ink) {
    for (size_t i = 0; i < symbols.size(); ++i) {
        Symbol& sliver = symbols[i];
        if (!sliver.BoxedASliver()) continue;
        const int from = i > 0 ? symbols[i - 1].right : 0;
        if (sliver.left <= from) continue;
        const std::vector<Glyph> glyphs = GlyphsBetween(ink, from, sliver.left);
        if (glyphs.size() != 1) continue;
        const GlyphArea& area = glyphs[0].area;
        const bool inGap = area.x >= from && area.x + area.w <= sliver.left;
        if (!inGap || InAnyBox(symbols, area)) continue;
        sliver.left = area.x;
        sliver.right = area.x + area.w;
    }
    return symbols;
}

}  // namespace zelvo
