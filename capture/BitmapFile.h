#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QImage;

namespace zelvo {

// The bits per pixel of a screen copy's file for a display of `displayDepth` bits (planes ×
// bits per pixel): 1, 4, 8, 24 or 32.
int BitmapBitsForDisplay(int displayDepth);

// The whole bottom-up, uncompressed BMP file of `image` at `bitsPerPixel`: the 14-byte file
// header, the 40-byte information header, the colour table (2, 16 or 256 entries for 1, 4 and
// 8 bits) and the rows padded to four bytes. Empty for an empty image, an unknown depth or a
// file that would pass 2 GiB.
std::vector<std::uint8_t> EncodeBitmapFile(const QImage& image, int bitsPerPixel);

// Writes `image` to `path` at the depth that follows the primary display. False when it cannot
// be encoded or the file cannot be created.
bool SaveBitmapFile(const QImage& image, const std::string& path);

}  // namespace zelvo
