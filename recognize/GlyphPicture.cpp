#include "recognize/GlyphPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include <leptonica/allheaders.h>

namespace zelvo {

std::vector<Glyph> GlyphsBetween(Pix* ink, int left, int right) {
    std::vector<Glyph> glyphs;
    Pixa* rawPixa = nullptr;
    BoxaPtr boxes(pixConnComp(ink, &rawPixa, 8));
    PixaPtr pixa(rawPixa);
    if (!boxes || !pixa) return glyphs;
    std::vector<std::pair<int, GlyphArea>> standing;
    int tallest = 0;
    for (int i = 0; i < boxaGetCount(boxes.get()); ++i) {
        GlyphArea found;
        boxaGetBoxGeometry(boxes.get(), i, &found.x, &found.y, &found.w, &found.h);
        // Measured over the whole line, so that a box holding only a point holds no glyph.
        tallest = std::max(tallest, found.h);
        const int inside = std::min(right, found.x + found.w) - std::max(left, found.x);
        const int middle = found.x + found.w / 2;
        if (middle < left || middle > right || inside * 2 < found.w) continue;
        standing.emplace_back(i, found);
    }
    std::sort(standing.begin(), standing.end(),
              [](const auto& a, const auto& b) { return a.second.x < b.second.x; });
    for (const auto& [index, area] : standing) {
        // Points and specks beside the glyph do not count.
        if (area.h * 2 < tallest) continue;
        glyphs.push_back({PixPtr(pixaGetPix(pixa.get(), index, L_COPY)), area});
    }
    return glyphs;
}

PixPtr GlyphBetween(Pix* ink, int left, int right, GlyphArea& area) {
    std::vector<Glyph> glyphs = GlyphsBetween(ink, left, right);
    if (glyphs.size() != 1) return nullptr;
    area = glyphs[0].area;
    return std::move(glyphs[0].pix);
}

GlyphPicture PictureOfGlyph(Pix* glyph) {
    GlyphPicture picture{};
    const int width = pixGetWidth(glyph);
    const int height = pixGetHeight(glyph);
    if (width <= 0 || height <= 0 || pixGetDepth(glyph) != 1) return picture;
    const double scale = std::min(static_cast<double>(kGlyphCells) / height,
                                  static_cast<double>(kGlyphCells) / width);
    const double offsetX = (kGlyphCells - width * scale) / 2;
    const double offsetY = (kGlyphCells - height * scale) / 2;
    // Each ink pixel adds the part of each cell it covers, so that a stroke thinner than a cell
    // still counts by its share of it.
    std::array<double, kGlyphCells * kGlyphCells> covered{};
    const l_uint32* data = pixGetData(glyph);
    const int wpl = pixGetWpl(glyph);
    for (int y = 0; y < height; ++y) {
        const l_uint32* line = data + y * wpl;
        const double top = offsetY + y * scale;
        const double bottom = top + scale;
        for (int x = 0; x < width; ++x) {
            if (!GET_DATA_BIT(line, x)) continue;
            const double left = offsetX + x * scale;
            const double right = left + scale;
            for (int cy = static_cast<int>(top); cy < kGlyphCells && cy < bottom; ++cy) {
                const double down = std::min<double>(bottom, cy + 1) - std::max<double>(top, cy);
                for (int cx = static_cast<int>(left); cx < kGlyphCells && cx < right; ++cx) {
                    const double across =
                        std::min<double>(right, cx + 1) - std::max<double>(left, cx);
                    if (down > 0 && across > 0) covered[cy * kGlyphCells + cx] += down * across;
                }
            }
        }
    }
    for (size_t i = 0; i < picture.size(); ++i) {
        picture[i] = static_cast<std::uint8_t>(std::lround(std::min(1.0, covered[i]) * 255));
    }
    return picture;
}

}  // namespace zelvo
