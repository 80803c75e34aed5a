#include "recognize/InkMarks.h"

#include <leptonica/allheaders.h>

#include "recognize/LeptonicaHandles.h"

namespace zelvo {
namespace {

// Marks of at most this many pixels are specks of anti-aliasing or noise, no strokes.
constexpr int kSpeckArea = 2;

}  // namespace

std::vector<Mark> MarksOf(Pix* ink) {
    std::vector<Mark> marks;
    Pixa* rawPixa = nullptr;
    BoxaPtr boxes(pixConnComp(ink, &rawPixa, 4));
    PixaPtr pixa(rawPixa);
    if (!boxes || !pixa) return marks;
    for (int i = 0; i < boxaGetCount(boxes.get()); ++i) {
        Mark mark;
        boxaGetBoxGeometry(boxes.get(), i, &mark.x, &mark.y, &mark.w, &mark.h);
        PixPtr component(pixaGetPix(pixa.get(), i, L_CLONE));
        if (!component) continue;
        pixCountPixels(component.get(), &mark.area, nullptr);
        if (mark.area > kSpeckArea) marks.push_back(mark);
    }
    return marks;
}

CharacterRow CharacterRowOf(const std::vector<Mark>& marks) {
    CharacterRow row;
    for (const Mark& mark : marks) row.tallest = std::max(row.tallest, mark.h);
    std::vector<int> bottoms, heights;
    for (const Mark& mark : marks) {
        if (mark.h * 2 < row.tallest) continue;
        row.characters.push_back(mark);
        bottoms.push_back(mark.Bottom());
        heights.push_back(mark.h);
    }
    if (bottoms.empty()) return row;
    const auto middle = [](std::vector<int>& values) {
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    };
    row.baseline = middle(bottoms);
    row.typicalHeight = middle(heights);
    return row;
}

}  // namespace zelvo
