#include "recognize/SegmentMarks.h"

#include <algorithm>
#include <array>

#include "recognize/ImageCleaning.h"

namespace zelvo {
namespace {

// Small text is enlarged to about this height; the gaps between segments are a pixel or less
// in a small screen copy, and only grey tells them from ink.
constexpr int kWorkingHeight = 64;
constexpr float kMostEnlargement = 6.0f;

// The height of the text: the rows its marks cover, leaving out frames around it.
int TextHeight(const std::vector<Mark>& marks, int width, int height) {
    int top = height, bottom = 0;
    for (const Mark& mark : marks) {
        if (mark.w * 10 >= width * 7 || mark.h * 10 >= height * 8) continue;
        top = std::min(top, mark.y);
        bottom = std::max(bottom, mark.Bottom());
    }
    return bottom - top;
}

// The core of the ink: pixels at least as dark as the ink's average. Anti-aliasing and
// enlarging grey the narrow gaps between segments, and taking that grey as ink joins them.
PixPtr SeparatedInk(Pix* grey) {
    PixPtr ink = Binarised(grey);
    if (!ink) return nullptr;
    l_int32 blank = 1;
    l_float32 inkLevel = 0;
    if (pixZero(ink.get(), &blank) != 0 || blank) return ink;
    if (pixGetAverageMasked(grey, ink.get(), 0, 0, 1, L_MEAN_ABSVAL, &inkLevel) != 0) return ink;
    return PixPtr(pixThresholdToBinary(grey, static_cast<int>(inkLevel) + 1));
}

int RowMedian(Pix* grey, int y) {
    std::array<int, 256> counts{};
    const l_uint32* row = pixGetData(grey) + y * pixGetWpl(grey);
    const int width = pixGetWidth(grey);
    for (int x = 0; x < width; ++x) ++counts[GET_DATA_BYTE(row, x)];
    int seen = 0, level = 0;
    while (level < 255 && (seen += counts[level]) * 2 < width) ++level;
    return level;
}

}  // namespace

std::optional<LineInk> FindLineInk(Pix* line, bool core) {
    PixPtr grey = GreyDarkOnLight(line);
    if (!grey) return std::nullopt;
    // A field's frame that the digits touch would join them into one mark.
    PixPtr ink = InkWithoutFieldLines(grey.get());
    if (!ink) return std::nullopt;
    const int textHeight =
        TextHeight(MarksOf(ink.get()), pixGetWidth(ink.get()), pixGetHeight(ink.get()));
    if (textHeight > 0 && textHeight < kWorkingHeight) {
        const float scale = std::min(
            kMostEnlargement, static_cast<float>(kWorkingHeight) / static_cast<float>(textHeight));
        grey.reset(pixScaleGrayLI(grey.get(), scale, scale));
        if (!grey) return std::nullopt;
    }
    ink = core ? SeparatedInk(grey.get()) : Binarised(grey.get());
    if (!ink) return std::nullopt;
    std::vector<Mark> marks = MarksOf(ink.get());
    return LineInk{std::move(ink), std::move(marks), std::move(grey)};
}

std::optional<LineInk> ThinnedInk(const LineInk& line, int size) {
    PixPtr thin(pixOpenBrick(nullptr, line.ink.get(), size, size));
    if (!thin) return std::nullopt;
    std::vector<Mark> marks = MarksOf(thin.get());
    PixPtr grey(line.grey ? pixClone(line.grey.get()) : nullptr);
    return LineInk{std::move(thin), std::move(marks), std::move(grey)};
}

double FaintInkShare(const LineInk& line, int x0, int x1, int top, int y0, int y1) {
    Pix* grey = line.grey.get();
    if (!grey || pixGetDepth(grey) != 8) return 0;
    x0 = std::max(0, x0);
    x1 = std::min(pixGetWidth(grey), x1);
    top = std::max(0, top);
    y1 = std::min(pixGetHeight(grey), y1);
    if (x0 >= x1 || top >= y0 || y0 >= y1) return 0;
    l_uint32 ground = 255;
    l_float32 inkLevel = 0;
    if (pixGetRankValue(grey, 1, 0.5f, &ground) != 0 ||
        pixGetAverageMasked(grey, line.ink.get(), 0, 0, 1, L_MEAN_ABSVAL, &inkLevel) != 0 ||
        static_cast<double>(ground) - inkLevel < 1) {
        return 0;
    }
    // How much darker the columns' darkest pixel is than most of the row: a line drawn across
    // the picture (a field's frame) darkens both.
    const auto darker = [&](int from, int to) {
        std::vector<int> rows;
        for (int y = from; y < to; ++y) {
            l_uint32 value = 255, least = 255;
            for (int x = x0; x < x1; ++x) {
                pixGetPixel(grey, x, y, &value);
                least = std::min(least, value);
            }
            rows.push_back(RowMedian(grey, y) - static_cast<int>(least));
        }
        return rows;
    };
    std::vector<int> above = darker(top, y0);
    const std::vector<int> rows = darker(y0, y1);
    std::nth_element(above.begin(), above.begin() + above.size() / 2, above.end());
    const int usual = above[above.size() / 2];
    return (*std::max_element(rows.begin(), rows.end()) - usual) /
           (static_cast<double>(ground) - inkLevel);
}

bool IsHollowFrame(Pix* ink, const Mark& mark, int line) {
    if (mark.w <= 2 * line || mark.h <= 2 * line) return false;
    PixPtr part = ClippedTo(ink, mark.x, mark.y, mark.w, mark.h);
    if (!part) return false;
    // The mark is the component that spans its whole box; others inside it are the text.
    Pixa* rawPixa = nullptr;
    BoxaPtr boxes(pixConnComp(part.get(), &rawPixa, 4));
    PixaPtr pixa(rawPixa);
    if (!boxes || !pixa) return false;
    for (int i = 0; i < boxaGetCount(boxes.get()); ++i) {
        l_int32 x = 0, y = 0, w = 0, h = 0;
        boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
        if (x != 0 || y != 0 || w != mark.w || h != mark.h) continue;
        PixPtr own(pixaGetPix(pixa.get(), i, L_CLONE));
        PixPtr middle =
            own ? ClippedTo(own.get(), line, line, mark.w - 2 * line, mark.h - 2 * line) : nullptr;
        l_int32 count = 0;
        return middle && pixCountPixels(middle.get(), &count, nullptr) == 0 && count == 0;
    }
    return false;
}

double InkShare(Pix* ink, int x, int y, int w, int h) {
    const int left = std::max(0, x);
    const int top = std::max(0, y);
    const int right = std::min(static_cast<int>(pixGetWidth(ink)), x + w);
    const int bottom = std::min(static_cast<int>(pixGetHeight(ink)), y + h);
    if (right <= left || bottom <= top) return 0;
    PixPtr part = ClippedTo(ink, left, top, right - left, bottom - top);
    if (!part) return 0;
    l_int32 count = 0;
    pixCountPixels(part.get(), &count, nullptr);
    return static_cast<double>(count) / ((right - left) * (bottom - top));
}

}  // namespace zelvo
