#pragma once

#include <memory>

#include <leptonica/allheaders.h>

namespace zelvo {

// Owners of the image library's objects, which it frees through functions of its own.
struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
struct BoxaDeleter {
    void operator()(Boxa* boxa) const { boxaDestroy(&boxa); }
};
struct PixaDeleter {
    void operator()(Pixa* pixa) const { pixaDestroy(&pixa); }
};
struct NumaDeleter {
    void operator()(Numa* numa) const { numaDestroy(&numa); }
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;
using BoxaPtr = std::unique_ptr<Boxa, BoxaDeleter>;
using PixaPtr = std::unique_ptr<Pixa, PixaDeleter>;
using NumaPtr = std::unique_ptr<Numa, NumaDeleter>;

// The part of `pix` inside the rectangle, clipped to the picture; null when there is none.
inline PixPtr ClippedTo(Pix* pix, int x, int y, int w, int h) {
    Box* box = boxCreate(x, y, w, h);
    if (!box) return nullptr;
    PixPtr part(pixClipRectangle(pix, box, nullptr));
    boxDestroy(&box);
    return part;
}

}  // namespace zelvo
