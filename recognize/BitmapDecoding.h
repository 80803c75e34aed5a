#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zelvo {

// A picture as red, green and blue, 0xRRGGBB, row by row from the top.
struct DecodedBitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The bytes of a file's start that tell whether it is one of the Windows bitmaps below.
constexpr std::size_t kBitmapHeadSize = 54;

// Whether `head`, a file's first bytes, starts a Windows bitmap the image library refuses:
// run-length coded (8 or 4 bits a pixel), 16 bits a pixel, or with colour masks. Image tools
// write these for few-coloured pictures and for pictures with alpha.
bool IsBitmapOfOurOwnDecoding(std::span<const std::uint8_t> head);

// Such a bitmap's picture; none when the file is not one, or is malformed or too large to be a
// screen's copy. Runs that reach past a row or past the picture are cut off there.
std::optional<DecodedBitmap> DecodeBitmapOfOurOwn(std::span<const std::uint8_t> file);

}  // namespace zelvo
