#include "recognize/ImageCleaning.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include <leptonica/allheaders.h>

#include "recognize/ImageFile.h"
#include "recognize/InkMarks.h"
#include "recognize/LeptonicaHandles.h"

namespace zelvo {
namespace {

// The recogniser reads text of about this many pixels from top to bottom best.
constexpr int kTextHeight = 48;
// Marks smaller than this both ways are specks, not text (a point is larger at 12 pixels).
constexpr int kSpeckSize = 3;
// A ground shading from top to bottom by this many grey levels is a gradient, where a row may
// step back by this many at most (the rows' middle levels are not exact), and on by as many as
// a short region's gradient does.
constexpr int kGradientRise = 40;
constexpr int kGradientBack = 3;
constexpr int kGradientStep = 16;

// The grey level that best splits the picture into two classes (Otsu).
int SplittingLevel(Pix* grey) {
    std::array<double, 256> counts{};
    const int width = pixGetWidth(grey);
    const int height = pixGetHeight(grey);
    const int wpl = pixGetWpl(grey);
    const l_uint32* data = pixGetData(grey);
    for (int y = 0; y < height; ++y) {
        const l_uint32* line = data + y * wpl;
        for (int x = 0; x < width; ++x) counts[GET_DATA_BYTE(line, x)] += 1;
    }
    const double total = static_cast<double>(width) * height;
    double sumAll = 0;
    for (int level = 0; level < 256; ++level) sumAll += level * counts[level];
    double below = 0, sumBelow = 0, best = -1;
    int bestLevel = 128;
    for (int level = 0; level < 256; ++level) {
        below += counts[level];
        sumBelow += level * counts[level];
        const double above = total - below;
        if (below == 0 || above == 0) continue;
        const double gap = sumBelow / below - (sumAll - sumBelow) / above;
        const double between = below * above * gap * gap;
        if (between > best) {
            best = between;
            bestLevel = level + 1;
        }
    }
    return bestLevel;
}

}  // namespace

PixPtr Binarised(Pix* grey) {
    return PixPtr(pixThresholdToBinary(grey, SplittingLevel(grey)));
}

namespace {

// A frame, not a wide glyph: little ink for its box, or, for a thick frame around a short field,
// next to none in the middle of its box (a glyph's stroke run into the frame at most).
bool IsHollow(Pix* component, l_int32 w, l_int32 h) {
    constexpr int kMostMiddleInk = 10;  // in hundredths of the middle
    l_int32 ink = 0;
    pixCountPixels(component, &ink, nullptr);
    if (ink * 3 < w * h) return true;
    const int inset = std::min(w, h) / 4;
    if (inset < 1 || ink * 2 >= w * h) return false;
    const int middleWidth = w - 2 * inset, middleHeight = h - 2 * inset;
    PixPtr middle = ClippedTo(component, inset, inset, middleWidth, middleHeight);
    l_int32 inside = 0;
    if (!middle || pixCountPixels(middle.get(), &inside, nullptr) != 0) return false;
    return inside * 100 < kMostMiddleInk * middleWidth * middleHeight;
}

// Whether the box of component `i` holds every other mark of the picture: a field's frame with
// the whole text inside it, however much ground lies around the field.
bool EnclosesTheRest(Boxa* boxes, int i) {
    l_int32 x, y, w, h;
    boxaGetBoxGeometry(boxes, i, &x, &y, &w, &h);
    int inside = 0;
    for (int j = 0; j < boxaGetCount(boxes); ++j) {
        if (j == i) continue;
        l_int32 jx, jy, jw, jh;
        boxaGetBoxGeometry(boxes, j, &jx, &jy, &jw, &jh);
        const bool speck = jw < kSpeckSize && jh < kSpeckSize;
        const bool within = jx > x && jy > y && jx + jw < x + w && jy + jh < y + h;
        if (!within && !speck) return false;
        inside += within && !speck;
    }
    return inside > 0;
}

// The grey level most of the picture has: its ground.
int GroundLevel(Pix* grey) {
    l_int32 level = 255;
    NumaPtr histogram(pixGetGrayHistogram(grey, 1));
    if (histogram) numaGetMax(histogram.get(), nullptr, &level);
    return level;
}

// The middle grey level of each row; none when they cannot be counted.
std::vector<int> RowMedians(Pix* grey) {
    Numa* rawMedians = nullptr;
    if (pixRowStats(grey, nullptr, nullptr, &rawMedians, nullptr, nullptr, nullptr, nullptr) != 0) {
        return {};
    }
    const NumaPtr found(rawMedians);
    std::vector<int> medians(static_cast<size_t>(numaGetCount(found.get())));
    for (size_t y = 0; y < medians.size(); ++y) {
        l_int32 level = 0;
        numaGetIValue(found.get(), static_cast<l_int32>(y), &level);
        medians[y] = level;
    }
    return medians;
}

// The rows [first, last] over which the ground goes steadily one way, far enough that one level
// would split it in two: a gradient. It must take most of the region; rows above or below it
// may be other ground the region took in (a panel's edge). Text rows whose middle level is the
// text's, and field lines, go back and forth or jump.
struct GradientRows {
    size_t first = 0, last = 0;
};

std::optional<GradientRows> GradientOf(const std::vector<int>& medians) {
    std::optional<GradientRows> longest;
    for (const int direction : {1, -1}) {
        size_t first = 0;
        for (size_t y = 1; y <= medians.size(); ++y) {
            const int step = y < medians.size() ? (medians[y] - medians[y - 1]) * direction : 0;
            if (y < medians.size() && step >= -kGradientBack && step <= kGradientStep) continue;
            const size_t last = y - 1;
            const int rise = (medians[last] - medians[first]) * direction;
            const bool longer = !longest || last - first > longest->last - longest->first;
            if (rise >= kGradientRise && longer) longest = GradientRows{first, last};
            first = y;
        }
    }
    const bool most = longest && (longest->last - longest->first + 1) * 4 >= medians.size() * 3;
    return most ? longest : std::nullopt;
}

// A ground that shades from top to bottom (a till's gradient panel) is made even, so that one
// level splits the text from all of it; text keeps its contrast with the ground beside it.
// Rows beyond the gradient move with its nearest row.
void FlattenGradientGround(Pix* grey) {
    const std::vector<int> medians = RowMedians(grey);
    const std::optional<GradientRows> rows = GradientOf(medians);
    if (!rows) return;
    const int even = medians[(rows->first + rows->last) / 2];
    const int width = pixGetWidth(grey);
    l_uint32* data = pixGetData(grey);
    const int wpl = pixGetWpl(grey);
    for (int y = 0; y < pixGetHeight(grey); ++y) {
        const size_t row = std::clamp(static_cast<size_t>(y), rows->first, rows->last);
        const int shift = even - medians[row];
        l_uint32* line = data + y * wpl;
        for (int x = 0; x < width; ++x) {
            SET_DATA_BYTE(line, x,
                          std::clamp(static_cast<int>(GET_DATA_BYTE(line, x)) + shift, 0, 255));
        }
    }
}

// Field borders and lines cut off at the edge of the region are no part of the amount.
bool IsFieldLine(Boxa* boxes, int i, Pix* component, int width, int height) {
    l_int32 x, y, w, h;
    boxaGetBoxGeometry(boxes, i, &x, &y, &w, &h);
    const bool touchesSide = x == 0 || x + w == width;
    const bool touchesTopOrBottom = y == 0 || y + h == height;
    // Hollow: a frame, not a wide glyph.
    if (w * 10 >= width * 7 && h * 10 >= height * 7) return IsHollow(component, w, h);
    if (IsHollow(component, w, h) && EnclosesTheRest(boxes, i)) return true;
    if (w * 10 >= width * 7 && touchesTopOrBottom) return h * 6 <= height;
    if (h * 10 >= height * 7 && touchesSide) return w * 8 <= width;
    return false;
}

// The long straight runs of a field line along the edges of its box: a glyph the line touches
// is no part of it, not even its long strokes (the 1 and the sides of an 8 run into a frame's
// top), which are shorter than the line by the glyph's distance from the frame's other side
// and stand inside the frame (a display's 6 touching its top is nearly as tall as the frame).
PixPtr StraightParts(Pix* component) {
    const int w = pixGetWidth(component);
    const int h = pixGetHeight(component);
    PixPtr across(pixOpenBrick(nullptr, component, std::max(2, w * 4 / 5), 1));
    PixPtr down(pixOpenBrick(nullptr, component, 1, std::max(2, h * 4 / 5)));
    if (!across || !down) return nullptr;
    const int rows = std::max(kSpeckSize, h / 6);
    const int columns = std::max(kSpeckSize, w / 6);
    if (h > 2 * rows) pixRasterop(across.get(), 0, rows, w, h - 2 * rows, PIX_CLR, nullptr, 0, 0);
    if (w > 2 * columns)
        pixRasterop(down.get(), columns, 0, w - 2 * columns, h, PIX_CLR, nullptr, 0, 0);
    return PixPtr(pixOr(nullptr, across.get(), down.get()));
}

// The strokes of glyphs that run into a field line: what is left of its component without the
// line's straight parts, in pieces that stand out from the line both ways (an anti-aliased
// line's soft edge is one pixel deep).
PixPtr GlyphStrokesOn(Pix* component, Pix* straight) {
    PixPtr rest(pixSubtract(nullptr, component, straight));
    if (!rest) return nullptr;
    return PixPtr(pixSelectBySize(rest.get(), kSpeckSize, kSpeckSize, 8, L_SELECT_IF_BOTH,
                                  L_SELECT_IF_GTE, nullptr));
}

// Paints the field lines of `ink` as ground in `grey` and clears them from `ink`; whether there
// were any.
bool RemoveFieldLines(Pix* grey, Pix* ink) {
    const int width = pixGetWidth(ink);
    const int height = pixGetHeight(ink);
    Pixa* rawPixa = nullptr;
    BoxaPtr boxes(pixConnComp(ink, &rawPixa, 8));
    PixaPtr pixa(rawPixa);
    if (!boxes || !pixa) return false;
    PixPtr lines(pixCreate(width, height, 1));
    PixPtr strokes(pixCreate(width, height, 1));
    if (!lines || !strokes) return false;
    bool any = false;
    for (int i = 0; i < boxaGetCount(boxes.get()); ++i) {
        PixPtr component(pixaGetPix(pixa.get(), i, L_CLONE));
        if (component && IsFieldLine(boxes.get(), i, component.get(), width, height)) {
            l_int32 x, y, w, h;
            boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
            PixPtr straight = StraightParts(component.get());
            if (straight) {
                pixRasterop(lines.get(), x, y, w, h, PIX_SRC | PIX_DST, straight.get(), 0, 0);
                any = true;
                PixPtr glyphs = GlyphStrokesOn(component.get(), straight.get());
                if (glyphs) {
                    pixRasterop(strokes.get(), x, y, w, h, PIX_SRC | PIX_DST, glyphs.get(), 0, 0);
                }
            }
        }
    }
    if (!any) return false;
    // Anti-aliased lines have a soft edge: take a pixel more on each side. Painted white on a
    // grey ground, they would stand out as a frame again. A glyph's stroke there is kept: at
    // small sizes its outer pixel row is the whole bar (a display's digits touching the frame).
    PixPtr wide(pixDilateBrick(nullptr, lines.get(), 3, 3));
    if (!wide) return false;
    pixSubtract(wide.get(), wide.get(), strokes.get());
    pixSetMasked(grey, wide.get(), static_cast<l_uint32>(GroundLevel(grey)));
    pixRasterop(ink, 0, 0, width, height, PIX_DST & PIX_NOT(PIX_SRC), wide.get(), 0, 0);
    return true;
}

}  // namespace

PixPtr InkWithoutFieldLines(Pix* grey) {
    // A dark frame around faint text took the dark side of the splitting level for itself and
    // left the text's paler strokes out, so the text is split from its ground again once the
    // frame is gone; the frame's soft edge, paler still, may then show as a frame of its own.
    PixPtr ink = Binarised(grey);
    for (int round = 0; round < 3 && ink && RemoveFieldLines(grey, ink.get()); ++round) {
        ink = Binarised(grey);
    }
    return ink;
}

PixPtr GreyDarkOnLight(Pix* source) {
    PixPtr grey(pixGetDepth(source) == 32 ? pixConvertRGBToLuminance(source)
                                          : pixConvertTo8(source, 0));
    if (!grey) return nullptr;
    FlattenGradientGround(grey.get());
    PixPtr ink = Binarised(grey.get());
    if (!ink) return nullptr;
    l_int32 dark = 0;
    pixCountPixels(ink.get(), &dark, nullptr);
    // Text covers less of the region than its ground does.
    if (dark * 2 > pixGetWidth(grey.get()) * pixGetHeight(grey.get())) {
        pixInvert(grey.get(), grey.get());
    }
    return grey;
}

PixPtr DarkInk(Pix* line) {
    PixPtr grey = GreyDarkOnLight(line);
    return grey ? Binarised(grey.get()) : nullptr;
}

PixPtr FaintInk(Pix* grey) {
    // The text's darkest pixels, not the very darkest, which may be a speck.
    constexpr float kDarkestRank = 0.02f;
    // Below that, a tenth of the contrast is within the ground's own noise.
    constexpr int kLeastContrast = 40;
    constexpr int kFaintShare = 10;  // in hundredths
    const int ground = GroundLevel(grey);
    l_uint32 darkest = 0;
    if (pixGetRankValue(grey, 1, kDarkestRank, &darkest) != 0) return nullptr;
    const int contrast = ground - static_cast<int>(darkest);
    if (contrast < kLeastContrast) return nullptr;
    return PixPtr(pixThresholdToBinary(grey, ground - contrast * kFaintShare / 100));
}

namespace {

// The text's part of the grey picture, with a little ground around it.
PixPtr TextArea(Pix* grey) {
    PixPtr ink = InkWithoutFieldLines(grey);
    if (!ink) return nullptr;
    // Specks (the corners a removed frame leaves) would widen the area and shrink the text.
    PixPtr marks(pixSelectBySize(ink.get(), kSpeckSize, kSpeckSize, 8, L_SELECT_IF_EITHER,
                                 L_SELECT_IF_GTE, nullptr));
    if (!marks) return nullptr;
    Box* found = nullptr;
    if (pixClipBoxToForeground(marks.get(), nullptr, nullptr, &found) != 0 || !found) {
        return PixPtr(pixCopy(nullptr, grey));  // nothing written there: a blank image
    }
    l_int32 x, y, w, h;
    boxGetGeometry(found, &x, &y, &w, &h);
    boxDestroy(&found);
    const int pad = 2;
    const int left = std::max(0, x - pad);
    const int top = std::max(0, y - pad);
    const int right = std::min(pixGetWidth(grey), x + w + pad);
    const int bottom = std::min(pixGetHeight(grey), y + h + pad);
    return ClippedTo(grey, left, top, right - left, bottom - top);
}

// Adds to the ink the points that blurring left fainter than `level`, which split the text from
// its ground: a small mark on the baseline, apart from the text, that a level halfway to the
// ground takes in. Lost, "4.65" would read as 465.
void AddFaintPoints(Pix* grey, Pix* ink, int level) {
    const CharacterRow row = CharacterRowOf(MarksOf(ink));
    const int baseline = row.baseline;
    const int ground = GroundLevel(grey);
    if (row.characters.empty() || ground <= level) return;
    PixPtr loose(pixThresholdToBinary(grey, (level + ground) / 2));
    if (!loose) return;
    Pixa* rawPixa = nullptr;
    BoxaPtr boxes(pixConnComp(loose.get(), &rawPixa, 8));
    PixaPtr pixa(rawPixa);
    if (!boxes || !pixa) return;
    const int height = pixGetHeight(grey);
    for (int i = 0; i < boxaGetCount(boxes.get()); ++i) {
        l_int32 x, y, w, h;
        boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
        const bool pointSized = w * 16 >= height && h * 16 >= height && w * 4 <= height &&
                                h * 4 <= height && w <= 2 * h && h <= 2 * w;
        const bool onBaseline = std::abs(y + h - baseline) * 10 <= height;
        if (!pointSized || !onBaseline) continue;
        PixPtr mark(pixaGetPix(pixa.get(), i, L_CLONE));
        PixPtr inked = ClippedTo(ink, x, y, w, h);
        l_int32 empty = 0;
        if (!mark || !inked || pixZero(inked.get(), &empty) != 0 || !empty) continue;
        pixRasterop(ink, x, y, w, h, PIX_SRC | PIX_DST, mark.get(), 0, 0);
    }
}

}  // namespace

CutSides TextCutAtTheSides(Pix* line) {
    CutSides cut;
    PixPtr grey = GreyDarkOnLight(line);
    PixPtr ink = grey ? InkWithoutFieldLines(grey.get()) : nullptr;
    if (!ink) return cut;
    BoxaPtr boxes(pixConnComp(ink.get(), nullptr, 8));
    if (!boxes) return cut;
    const int width = pixGetWidth(ink.get());
    int tallest = 0;
    for (int i = 0; i < boxaGetCount(boxes.get()); ++i) {
        l_int32 x, y, w, h;
        boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
        tallest = std::max(tallest, h);
    }
    for (int i = 0; i < boxaGetCount(boxes.get()); ++i) {
        l_int32 x, y, w, h;
        boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
        if (h * 2 < tallest) continue;
        cut.left = cut.left || x == 0;
        cut.right = cut.right || x + w == width;
    }
    return cut;
}

std::string GreyLineBeside(const std::string& cleaned) {
    return cleaned + ".grey.png";
}

bool CleanImageForRecognition(const std::string& in, const std::string& out) {
    PixPtr source = ReadImageFile(in);
    if (!source) return false;
    PixPtr grey = GreyDarkOnLight(source.get());
    if (!grey) return false;
    PixPtr text = TextArea(grey.get());
    if (!text) return false;
    const float scale =
        std::clamp(static_cast<float>(kTextHeight) / pixGetHeight(text.get()), 0.5f, 8.0f);
    PixPtr scaled(pixScale(text.get(), scale, scale));
    if (!scaled) return false;
    const int level = SplittingLevel(scaled.get());
    PixPtr ink(pixThresholdToBinary(scaled.get(), level));
    if (!ink) return false;
    AddFaintPoints(scaled.get(), ink.get(), level);
    PixPtr framed(pixAddBorder(ink.get(), kQuietBorder, 0));
    if (!framed) return false;
    PixPtr written(pixConvert1To8(nullptr, framed.get(), 255, 0));
    if (!written || pixWrite(out.c_str(), written.get(), IFF_JFIF_JPEG) != 0) return false;
    // Without its grey line the cleaned image still reads; only the last views are lost.
    PixPtr greyFramed(pixAddBorder(scaled.get(), kQuietBorder, GroundLevel(scaled.get())));
    if (greyFramed) pixWrite(GreyLineBeside(out).c_str(), greyFramed.get(), IFF_PNG);
    return true;
}

}  // namespace zelvo
