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

}  // namespace zelvo
