#include <gtest/gtest.h>

#include <QImage>

#include "capture/BitmapFile.h"

namespace zelvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

// 3 × 2: red, green, blue over white, black and a dark blue-grey.
QImage SmallImage() {
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(2, 0, qRgb(0, 0, 255));
    image.setPixel(0, 1, qRgb(255, 255, 255));
    image.setPixel(1, 1, qRgb(0, 0, 0));
    image.setPixel(2, 1, qRgb(10, 20, 30));
    return image;
}

Bytes Headers(std::uint32_t fileSize, std::uint32_t dataOffset, std::uint16_t bits) {
    Bytes bytes = {'B', 'M'};
    auto put32 = [&](std::uint32_t v) {
        for (int s = 0; s < 32; s += 8) bytes.push_back(static_cast<std::uint8_t>(v >> s));
    };
    put32(fileSize);
    put32(0);
    put32(dataOffset);
    put32(40);
    put32(3);
    put32(2);
    bytes.insert(bytes.end(), {1, 0, static_cast<std::uint8_t>(bits), 0});
    bytes.insert(bytes.end(), 24, 0);
    return bytes;
}

TEST(BitmapFile, TwentyFourBitsStoreRowsBottomUpPaddedToFourBytes) {
    Bytes expected = Headers(54 + 24, 54, 24);
    const Bytes rows = {
        0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x1E, 0x14, 0x0A, 0, 0, 0,  // bottom row first
        0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0, 0, 0,  // blue, green, red
    };
    expected.insert(expected.end(), rows.begin(), rows.end());
    EXPECT_EQ(EncodeBitmapFile(SmallImage(), 24), expected);
}

TEST(BitmapFile, ThirtyTwoBitsNeedNoPadding) {
    Bytes expected = Headers(54 + 24, 54, 32);
    const Bytes rows = {
        0xFF, 0xFF, 0xFF, 0, 0x00, 0x00, 0x00, 0, 0x1E, 0x14, 0x0A, 0,
        0x00, 0x00, 0xFF, 0, 0x00, 0xFF, 0x00, 0, 0xFF, 0x00, 0x00, 0,
    };
    expected.insert(expected.end(), rows.begin(), rows.end());
    EXPECT_EQ(EncodeBitmapFile(SmallImage(), 32), expected);
}

TEST(BitmapFile, PaletteDepthsCarryTheirColourTable) {
    struct Depth {
        int bits;
        std::uint32_t paletteEntries;
    };
    for (Depth depth : {Depth{1, 2}, Depth{4, 16}, Depth{8, 256}}) {
        const Bytes bytes = EncodeBitmapFile(SmallImage(), depth.bits);
        const std::uint32_t palette = depth.paletteEntries * 4;
        // Each row of three pixels fits in one padded four-byte word.
        const Bytes headers =
            Headers(54 + palette + 8, 54 + palette, static_cast<std::uint16_t>(depth.bits));
        ASSERT_EQ(bytes.size(), 54 + palette + 8) << depth.bits;
        EXPECT_TRUE(std::equal(headers.begin(), headers.end(), bytes.begin())) << depth.bits;
    }
    // One bit: black is entry 0, white entry 1; the bottom row is white, black, black-ish.
    const Bytes mono = EncodeBitmapFile(SmallImage(), 1);
    EXPECT_EQ(Bytes(mono.begin() + 54, mono.begin() + 62), (Bytes{0, 0, 0, 0, 255, 255, 255, 0}));
    EXPECT_EQ(Bytes(mono.begin() + 62, mono.begin() + 66), (Bytes{0x80, 0, 0, 0}));
}

TEST(BitmapFile, DisplayDepthChoosesTheBitsPerPixel) {
    EXPECT_EQ(BitmapBitsForDisplay(1), 1);
    EXPECT_EQ(BitmapBitsForDisplay(2), 4);
    EXPECT_EQ(BitmapBitsForDisplay(4), 4);
    EXPECT_EQ(BitmapBitsForDisplay(8), 8);
    EXPECT_EQ(BitmapBitsForDisplay(15), 24);
    EXPECT_EQ(BitmapBitsForDisplay(16), 24);
    EXPECT_EQ(BitmapBitsForDisplay(24), 24);
    EXPECT_EQ(BitmapBitsForDisplay(30), 32);
    EXPECT_EQ(BitmapBitsForDisplay(32), 32);
}

TEST(BitmapFile, NothingToWriteGivesNoFile) {
    EXPECT_TRUE(EncodeBitmapFile(QImage(), 24).empty());
    EXPECT_TRUE(EncodeBitmapFile(SmallImage(), 16).empty());
    EXPECT_FALSE(SaveBitmapFile(QImage(), "cut.bmp"));
    EXPECT_FALSE(SaveBitmapFile(SmallImage(), "/nonexistent-folder/cut.bmp"));
}

}  // namespace
}  // namespace zelvo
