#include "recognize/GlyphTemplates.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace zelvo {
namespace {

constexpr char kMagic[4] = {'Z', 'G', 'T', '2'};
constexpr size_t kHeaderSize = sizeof kMagic + 1;
constexpr size_t kRecordSize = 2 + std::tuple_size_v<GlyphPicture>;

}  // namespace

std::optional<std::vector<GlyphTemplate>> ParseGlyphTemplates(const unsigned char* data,
                                                              size_t size) {
    if (!data || size < kHeaderSize || std::memcmp(data, kMagic, sizeof kMagic) != 0 ||
        data[sizeof kMagic] != kGlyphCells || (size - kHeaderSize) % kRecordSize != 0) {
        return std::nullopt;
    }
    std::vector<GlyphTemplate> templates((size - kHeaderSize) / kRecordSize);
    const unsigned char* record = data + kHeaderSize;
    for (GlyphTemplate& glyph : templates) {
        glyph.label = static_cast<char>(record[0]);
        if (glyph.label == 0 || kGlyphLabels.find(glyph.label) == std::string_view::npos ||
            record[1] > 1) {
            return std::nullopt;
        }
        glyph.segments = record[1] == 1;
        std::memcpy(glyph.picture.data(), record + 2, glyph.picture.size());
        record += kRecordSize;
    }
    return templates;
}

std::vector<unsigned char> SerialiseGlyphTemplates(const std::vector<GlyphTemplate>& templates) {
    std::vector<unsigned char> data(std::begin(kMagic), std::end(kMagic));
    data.push_back(kGlyphCells);
    for (const GlyphTemplate& glyph : templates) {
        data.push_back(static_cast<unsigned char>(glyph.label));
        data.push_back(glyph.segments ? 1 : 0);
        data.insert(data.end(), glyph.picture.begin(), glyph.picture.end());
    }
    return data;
}

int GlyphDistance(const GlyphPicture& a, const GlyphPicture& b) {
    // At most 256 cells of 255 squared: an int holds it, and the loop vectorises.
    int distance = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        const int difference = int{a[i]} - int{b[i]};
        distance += difference * difference;
    }
    return distance;
}

std::optional<GlyphGuess> GuessGlyph(const std::vector<GlyphTemplate>& templates,
                                     const GlyphPicture& glyph) {
    std::array<long, kGlyphLabels.size()> nearest;
    nearest.fill(std::numeric_limits<long>::max());
    std::array<long, 2> nearestOfFace = {std::numeric_limits<long>::max(),
                                         std::numeric_limits<long>::max()};
    for (const GlyphTemplate& known : templates) {
        const size_t label = kGlyphLabels.find(known.label);
        const int distance = GlyphDistance(glyph, known.picture);
        nearest[label] = std::min<long>(nearest[label], distance);
        long& ofFace = nearestOfFace[known.segments ? 1 : 0];
        ofFace = std::min<long>(ofFace, distance);
    }
    std::array<size_t, kGlyphLabels.size()> order;
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return nearest[a] < nearest[b]; });
    if (nearest[order[1]] == std::numeric_limits<long>::max()) return std::nullopt;
    GlyphGuess guess;
    guess.label = kGlyphLabels[order[0]];
    guess.runnerUp = kGlyphLabels[order[1]];
    guess.margin = static_cast<double>(nearest[order[1]]) /
                   static_cast<double>(std::max(1L, nearest[order[0]]));
    guess.segmentsMargin = static_cast<double>(nearestOfFace[0]) /
                           static_cast<double>(std::max(1L, nearestOfFace[1]));
    return guess;
}

}  // namespace zelvo
