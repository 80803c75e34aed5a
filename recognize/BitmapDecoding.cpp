#include "recognize/BitmapDecoding.h"

#include <algorithm>
#include <bit>

namespace zelvo {
namespace {

constexpr std::uint32_t kUncoded = 0;
constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kRunLength4 = 2;
constexpr std::uint32_t kMasked = 3;
constexpr std::uint32_t kMaskedWithAlpha = 6;

// Far beyond any screen, and small enough that a forged header costs no more than it allows.
constexpr std::int64_t kLongestSide = 16384;
constexpr std::int64_t kMostPixels = 40'000'000;

constexpr std::size_t kInfoHeaderAt = 14;
constexpr std::size_t kMasksAt = 54;

std::uint32_t U16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | (std::uint32_t{bytes[at + 1]} << 8);
}

std::uint32_t U32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return U16(bytes, at) | (U16(bytes, at + 2) << 16);
}

bool Holds(std::span<const std::uint8_t> bytes, std::uint64_t at, std::uint64_t count) {
    return at <= bytes.size() && count <= bytes.size() - at;
}

struct Header {
    std::uint32_t dataAt = 0;
    std::uint32_t infoSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative when the rows run from the top
    std::uint32_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

std::optional<Header> HeaderOf(std::span<const std::uint8_t> bytes) {
    if (!Holds(bytes, 0, kBitmapHeadSize) || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    Header header;
    header.dataAt = U32(bytes, 10);
    header.infoSize = U32(bytes, kInfoHeaderAt);
    header.width = static_cast<std::int32_t>(U32(bytes, 18));
    header.height = static_cast<std::int32_t>(U32(bytes, 22));
    header.bitCount = U16(bytes, 28);
    header.compression = U32(bytes, 30);
    header.coloursUsed = U32(bytes, 46);
    return header;
}

bool IsOurs(const Header& header) {
    // The info header and its later, longer versions; the old OS/2 ones are the library's.
    const bool infoHeader = header.infoSize == 40 || header.infoSize == 52 ||
                            header.infoSize == 56 || header.infoSize == 108 ||
                            header.infoSize == 124;
    const bool masked = header.compression == kMasked || header.compression == kMaskedWithAlpha;
    return infoHeader && ((header.compression == kRunLength8 && header.bitCount == 8) ||
                          (header.compression == kRunLength4 && header.bitCount == 4) ||
                          (masked && (header.bitCount == 16 || header.bitCount == 32)) ||
                          (header.compression == kUncoded && header.bitCount == 16));
}

// One colour of a masked pixel, scaled to 0..255.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : m_mask(mask),
          m_shift(mask ? std::countr_zero(mask) : 0),
          m_largest(mask ? mask >> m_shift : 0) {}

    std::uint32_t Of(std::uint32_t pixel) const {
        if (m_largest == 0) return 0;
        const std::uint64_t value = (pixel & m_mask) >> m_shift;
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(255, value * 255 / m_largest));
    }

private:
    std::uint32_t m_mask;
    int m_shift;
    std::uint64_t m_largest;
};

std::optional<DecodedBitmap> DecodeMasked(std::span<const std::uint8_t> bytes, const Header& header,
                                          DecodedBitmap picture) {
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // the 16-bit picture without masks
    if (header.compression != kUncoded) {
        if (!Holds(bytes, kMasksAt, 12)) return std::nullopt;
        for (int i = 0; i < 3; ++i) masks[i] = U32(bytes, kMasksAt + 4 * static_cast<size_t>(i));
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    const std::uint64_t pixelBytes = header.bitCount / 8;
    const std::uint64_t rowBytes =
        (pixelBytes * static_cast<std::uint64_t>(picture.width) + 3) / 4 * 4;
    if (!Holds(bytes, header.dataAt, rowBytes * static_cast<std::uint64_t>(picture.height))) {
        return std::nullopt;
    }
    const bool fromTheTop = header.height < 0;
    for (int row = 0; row < picture.height; ++row) {
        const int y = fromTheTop ? row : picture.height - 1 - row;
        const std::size_t rowAt = header.dataAt + rowBytes * static_cast<std::uint64_t>(row);
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t at = rowAt + pixelBytes * static_cast<std::size_t>(x);
            const std::uint32_t pixel = pixelBytes == 2 ? U16(bytes, at) : U32(bytes, at);
            picture.pixels[static_cast<std::size_t>(y) * picture.width + x] =
                red.Of(pixel) << 16 | green.Of(pixel) << 8 | blue.Of(pixel);
        }
    }
    return picture;
}

// Runs of palette indexes, rows from the bottom. A run or a move past a row's end is cut off
// there; rows past the picture's top end it.
std::optional<DecodedBitmap> DecodeRunLength(std::span<const std::uint8_t> bytes,
                                             const Header& header, DecodedBitmap picture) {
    const std::uint32_t entries = std::uint32_t{1} << header.bitCount;
    const std::uint32_t listed =
        header.coloursUsed == 0 ? entries : std::min(header.coloursUsed, entries);
    const std::size_t paletteAt = kInfoHeaderAt + header.infoSize;
    if (header.height < 0 || !Holds(bytes, paletteAt, std::uint64_t{listed} * 4) ||
        !Holds(bytes, header.dataAt, 0)) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> palette(entries, 0);
    for (std::uint32_t i = 0; i < listed; ++i) {
        palette[i] = U32(bytes, paletteAt + 4 * std::size_t{i}) & 0xFFFFFF;
    }
    std::fill(picture.pixels.begin(), picture.pixels.end(), palette[0]);
    const bool fourBits = header.compression == kRunLength4;
    int x = 0;
    int row = 0;
    const auto put = [&](std::uint32_t index) {
        if (x < picture.width) {
            const std::size_t y = static_cast<std::size_t>(picture.height - 1 - row);
            picture.pixels[y * picture.width + x] = palette[index];
            ++x;
        }
    };
    // The index a count of pixels takes from `byte`: the whole byte, or its halves in turn.
    const auto indexAt = [&](std::uint8_t byte, int i) -> std::uint32_t {
        if (!fourBits) return byte;
        return i % 2 == 0 ? byte >> 4 : byte & 0x0F;
    };
    std::size_t at = header.dataAt;
    while (row < picture.height && Holds(bytes, at, 2)) {
        const std::uint8_t count = bytes[at];
        const std::uint8_t value = bytes[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(indexAt(value, i));
        } else if (value == 0) {
            x = 0;
            ++row;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (!Holds(bytes, at, 2)) break;
            x = std::min(picture.width, x + bytes[at]);
            row += bytes[at + 1];
            at += 2;
        } else {
            const std::size_t length = fourBits ? (value + 1) / 2 : value;
            if (!Holds(bytes, at, length)) break;
            for (int i = 0; i < value; ++i) put(indexAt(bytes[at + (fourBits ? i / 2 : i)], i));
            at += length + length % 2;  // absolute runs end on an even byte
        }
    }
    return picture;
}

}  // namespace

bool IsBitmapOfOurOwnDecoding(std::span<const std::uint8_t> head) {
    const std::optional<Header> header = HeaderOf(head);
    return header && IsOurs(*header);
}

std::optional<DecodedBitmap> DecodeBitmapOfOurOwn(std::span<const std::uint8_t> file) {
    const std::optional<Header> header = HeaderOf(file);
    if (!header || !IsOurs(*header)) return std::nullopt;
    const std::int64_t height = header->height < 0 ? -header->height : header->height;
    if (header->width <= 0 || height == 0 || header->width > kLongestSide ||
        height > kLongestSide || header->width * height > kMostPixels) {
        return std::nullopt;
    }
    DecodedBitmap picture;
    picture.width = static_cast<int>(header->width);
    picture.height = static_cast<int>(height);
    picture.pixels.assign(static_cast<std::size_t>(header->width * height), 0);
    if (header->compression == kRunLength8 || header->compression == kRunLength4) {
        return DecodeRunLength(file, *header, std::move(picture));
    }
    return DecodeMasked(file, *header, std::move(picture));
}

}  // namespace zelvo
