#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "recognize/GlyphPicture.h"

namespace zelvo {

// The shapes the reader knows: each digit, and the currency sign ("¥" and "￥" alike, labelled
// kSignLabel), drawn in many fonts, sizes and weights and cleaned as a capture is.
inline constexpr char kSignLabel = 'Y';
inline constexpr std::string_view kGlyphLabels = "0123456789Y";

struct GlyphTemplate {
    char label = 0;
    // Drawn by a seven-segment face, which the line recogniser has no model for.
    bool segments = false;
    GlyphPicture picture{};
};

// The templates file: "ZGT2", the number of cells a side, then for each template its label,
// 1 for a seven-segment face or else 0, and its cells. None when the data is not such a file.
std::optional<std::vector<GlyphTemplate>> ParseGlyphTemplates(const unsigned char* data,
                                                              size_t size);
std::vector<unsigned char> SerialiseGlyphTemplates(const std::vector<GlyphTemplate>& templates);

// How unlike two pictures are: the sum of their cells' squared differences.
int GlyphDistance(const GlyphPicture& a, const GlyphPicture& b);

// What a glyph looks most like, and how much more it looks like that than like anything else:
// the distance to the nearest template of any other label over the distance to the nearest of
// its own (above 1; larger is surer).
struct GlyphGuess {
    char label = 0;
    char runnerUp = 0;
    double margin = 0;
    // How much nearer the nearest seven-segment template is than the nearest of a text face.
    double segmentsMargin = 0;
};

std::optional<GlyphGuess> GuessGlyph(const std::vector<GlyphTemplate>& templates,
                                     const GlyphPicture& glyph);

// The templates built into the reader; empty when the build gave none.
const std::vector<GlyphTemplate>& BuiltInGlyphTemplates();

}  // namespace zelvo
