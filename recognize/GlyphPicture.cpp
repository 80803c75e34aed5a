#include "recognize/GlyphPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include <leptonica/allheaders.h>

namespace zelvo {

namespace {

// The ink components whose middle and most of them stand between `left` and `right`, left to
// right, and the height of the line's tallest.
struct Standing {
    std::vector<std::pair<int, GlyphArea>> components;  // index in `boxes`, area
    int tallest = 0;
    BoxaPtr boxes;
    PixaPtr pixa;
};

Standing StandingBetween(Pix* ink, int left, int right) {
    Standing standing;
    Pixa* rawPixa = nullptr;
    standing.boxes.reset(pixConnComp(ink, &rawPixa, 8));
    standing.pixa.reset(rawPixa);
    if (!standing.boxes || !standing.pixa) return standing;
    for (int i = 0; i < boxaGetCount(standing.boxes.get()); ++i) {
        GlyphArea found;
        boxaGetBoxGeometry(standing.boxes.get(), i, &found.x, &found.y, &found.w, &found.h);
        // Measured over the whole line, so that a box holding only a point holds no glyph.
        standing.tallest = std::max(standing.tallest, found.h);
        const int inside = std::min(right, found.x + found.w) - std::max(left, found.x);
        const int middle = found.x + found.w / 2;
        if (middle < left || middle > right || inside * 2 < found.w) continue;
        standing.components.emplace_back(i, found);
    }
    std::sort(standing.components.begin(), standing.components.end(),
              [](const auto& a, const auto& b) { return a.second.x < b.second.x; });
    return standing;
}

}  // namespace

std::vector<Glyph> GlyphsBetween(Pix* ink, int left, int right) {
    std::vector<Glyph> glyphs;
    const Standing standing = StandingBetween(ink, left, right);
    for (const auto& [index, area] : standing.components) {
        // Points and specks beside the glyph do not count.
        if (area.h * 2 < standing.tallest) continue;
        glyphs.push_back({PixPtr(pixaGetPix(standing.pixa.get(), index, L_COPY)), area});
    }
    return glyphs;
}

bool IsColonBetween(Pix* ink, int left, int right) {
    const Standing standing = StandingBetween(ink, left, right);
    if (standing.components.size() != 2) return false;
    const GlyphArea& a = standing.components[0].second;
    const GlyphArea& b = standing.components[1].second;
    const auto small = [&](const GlyphArea& mark) { return mark.h * 3 <= standing.tallest; };
    const bool overlapAcross = std::min(a.x + a.w, b.x + b.w) > std::max(a.x, b.x);
    const bool apartDown = a.y + a.h <= b.y || b.y + b.h <= a.y;
    return small(a) && small(b) && overlapAcross && apartDown;
}

std::vector<ColumnSpan> InkColumnSpans(Pix* ink, int left, int right, int top, int bottom,
                                       int gap) {
    const int width = pixGetWidth(ink), height = pixGetHeight(ink);
    left = std::max(0, left);
    right = std::min(width, right);
    top = std::max(0, top);
    bottom = std::min(height, bottom);
    const l_uint32* data = pixGetData(ink);
    const int wpl = pixGetWpl(ink);
    std::vector<ColumnSpan> spans;
    int blank = gap;  // columns without ink since the last inked one
    for (int x = left; x < right; ++x) {
        bool inked = false;
        for (int y = top; y < bottom && !inked; ++y) inked = GET_DATA_BIT(data + y * wpl, x);
        if (!inked) {
            ++blank;
            continue;
        }
        if (blank >= gap) spans.push_back({x, x + 1});
        spans.back().right = x + 1;
        blank = 0;
    }
    return spans;
}

int InkColumnRuns(Pix* ink, int left, int right, int top, int bottom, int gap) {
    return static_cast<int>(InkColumnSpans(ink, left, right, top, bottom, gap).size());
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
