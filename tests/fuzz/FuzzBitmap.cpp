// Whatever a file holds that starts as a bitmap the image library refuses: the decoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "recognize/BitmapDecoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const std::optional<zelvo::DecodedBitmap> picture = zelvo::DecodeBitmapOfOurOwn(file);
    if (picture &&
        (!zelvo::IsBitmapOfOurOwnDecoding(file) ||
         picture->pixels.size() != static_cast<std::size_t>(picture->width) * picture->height)) {
        std::abort();
    }
    return 0;
}
