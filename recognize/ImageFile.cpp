#include "recognize/ImageFile.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <optional>
#include <vector>

#include "recognize/BitmapDecoding.h"

namespace zelvo {
namespace {

// Larger than any screen's copy at 32 bits a pixel.
constexpr std::streamoff kLargestBitmapFile = 200 * 1024 * 1024;

std::vector<std::uint8_t> BytesOf(std::ifstream& file, std::streamoff count) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    file.read(reinterpret_cast<char*>(bytes.data()), count);
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

PixPtr PixOf(const DecodedBitmap& picture) {
    PixPtr pix(pixCreate(picture.width, picture.height, 32));
    if (!pix) return nullptr;
    l_uint32* data = pixGetData(pix.get());
    const int wordsPerLine = pixGetWpl(pix.get());
    for (int y = 0; y < picture.height; ++y) {
        l_uint32* line = data + static_cast<std::ptrdiff_t>(y) * wordsPerLine;
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t rgb =
                picture.pixels[static_cast<std::size_t>(y) * picture.width + x];
            composeRGBPixel(static_cast<l_int32>(rgb >> 16),
                            static_cast<l_int32>((rgb >> 8) & 0xFF),
                            static_cast<l_int32>(rgb & 0xFF), &line[x]);
        }
    }
    return pix;
}

}  // namespace

PixPtr ReadImageFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return PixPtr(pixRead(path.c_str()));  // the library says why
    const std::vector<std::uint8_t> head =
        BytesOf(file, static_cast<std::streamoff>(kBitmapHeadSize));
    if (!IsBitmapOfOurOwnDecoding(head)) return PixPtr(pixRead(path.c_str()));
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size <= 0 || size > kLargestBitmapFile) return nullptr;
    file.seekg(0);
    const std::optional<DecodedBitmap> picture = DecodeBitmapOfOurOwn(BytesOf(file, size));
    return picture ? PixOf(*picture) : nullptr;
}

}  // namespace zelvo
