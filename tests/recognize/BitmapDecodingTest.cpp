#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "recognize/AmountChain.h"
#include "recognize/BitmapDecoding.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;

void Put16(Bytes& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& bytes, std::uint32_t value) {
    Put16(bytes, value & 0xFFFF);
    Put16(bytes, value >> 16);
}

struct Layout {
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t infoSize = 40;
};

// A bitmap file: file header, info header (zero-filled past its first 40 bytes), then `between`
// (masks after a 40-byte header, or the palette, all of whose colours count as used) and the
// pixel data.
Bytes BitmapFile(const Layout& layout, const Bytes& between, const Bytes& data) {
    const std::uint32_t dataAt = 14 + layout.infoSize + static_cast<std::uint32_t>(between.size());
    Bytes file = {'B', 'M'};
    Put32(file, dataAt + static_cast<std::uint32_t>(data.size()));
    Put32(file, 0);
    Put32(file, dataAt);
    Put32(file, layout.infoSize);
    Put32(file, static_cast<std::uint32_t>(layout.width));
    Put32(file, static_cast<std::uint32_t>(layout.height));
    Put16(file, 1);
    Put16(file, layout.bitCount);
    Put32(file, layout.compression);
    file.resize(46, 0);
    Put32(file, layout.bitCount <= 8 ? static_cast<std::uint32_t>(between.size() / 4) : 0);
    file.resize(14 + layout.infoSize, 0);
    file.insert(file.end(), between.begin(), between.end());
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

Bytes Palette(std::initializer_list<std::uint32_t> colours) {
    Bytes palette;
    for (const std::uint32_t colour : colours) Put32(palette, colour);
    return palette;
}

Bytes Masks(std::initializer_list<std::uint32_t> masks) {
    return Palette(masks);
}

std::vector<std::uint32_t> Decoded(const Bytes& file) {
    const std::optional<DecodedBitmap> picture = DecodeBitmapOfOurOwn(file);
    if (!picture) return {};
    EXPECT_EQ(picture->pixels.size(), static_cast<size_t>(picture->width * picture->height));
    return picture->pixels;
}

TEST(BitmapDecoding, RunLengthCodesDrawTheirRowsFromTheBottom) {
    const Bytes palette = Palette({kBlack, kWhite, kRed});
    // Bottom row: two white, then an absolute run of three of which the last is past the row's
    // end, padded to an even byte. Middle row: a move one to the right, one red. Top row: left
    // at the first colour by the end of the picture.
    const Bytes eight = {2, 1, 0, 3, 2, 1, 2, 0, 0, 0, 0, 2, 1, 0, 1, 2, 0, 0, 0, 1};
    EXPECT_EQ(Decoded(BitmapFile({4, 3, 8, 1}, palette, eight)),
              (std::vector<std::uint32_t>{kBlack, kBlack, kBlack, kBlack,  //
                                          kBlack, kRed, kBlack, kBlack,    //
                                          kWhite, kWhite, kRed, kWhite}));
    // Four bits: an absolute run of five halves in three bytes and a pad, then a run of reds.
    const Bytes four = {0, 5, 0x12, 0x12, 0x10, 0, 3, 0x22, 0, 1};
    EXPECT_EQ(Decoded(BitmapFile({8, 1, 4, 2}, palette, four)),
              (std::vector<std::uint32_t>{kWhite, kRed, kWhite, kRed, kWhite, kRed, kRed, kRed}));
}

TEST(BitmapDecoding, MaskedPixelsTakeTheirColoursFromTheMasks) {
    // 5-6-5 with masks after the header; rows of six bytes padded to eight, from the bottom.
    Bytes data;
    for (const std::uint32_t pixel : {0x0000u, 0x8410u, 0xFFFFu}) Put16(data, pixel);
    Put16(data, 0);
    for (const std::uint32_t pixel : {0xF800u, 0x07E0u, 0x001Fu}) Put16(data, pixel);
    Put16(data, 0);
    EXPECT_EQ(Decoded(BitmapFile({3, 2, 16, 3}, Masks({0xF800, 0x07E0, 0x001F}), data)),
              (std::vector<std::uint32_t>{kRed, kGreen, kBlue, kBlack, 0x838183, kWhite}));

    // 16 bits without masks are 5-5-5.
    Bytes plain;
    Put16(plain, 0x7C00);
    Put16(plain, 0x03E0);
    EXPECT_EQ(Decoded(BitmapFile({2, 1, 16, 0}, {}, plain)),
              (std::vector<std::uint32_t>{kRed, kGreen}));

    // 32 bits with alpha, the masks inside a version-5 header, rows from the top; blue first.
    Bytes header(124 - 40, 0);
    const Bytes masks = Masks({0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000});
    std::copy(masks.begin(), masks.end(), header.begin());
    Bytes wide;
    for (const std::uint32_t pixel : {0xFF0000FFu, 0x00FF0000u, 0x80FFFFFFu, 0x00000000u}) {
        Put32(wide, pixel);
    }
    Bytes file = BitmapFile({2, -2, 32, 6, 124}, {}, wide);
    std::copy(header.begin(), header.end(), file.begin() + 54);
    EXPECT_EQ(Decoded(file), (std::vector<std::uint32_t>{kRed, kBlue, kWhite, kBlack}));
}

TEST(BitmapDecoding, BitmapsTheLibraryReadsAreLeftToIt) {
    Bytes pixels(8, 0);
    EXPECT_FALSE(IsBitmapOfOurOwnDecoding(BitmapFile({2, 2, 24, 0}, {}, pixels)));
    EXPECT_FALSE(IsBitmapOfOurOwnDecoding(BitmapFile({2, 2, 8, 0}, Palette({0, 0}), pixels)));
    EXPECT_FALSE(IsBitmapOfOurOwnDecoding(BitmapFile({2, 2, 8, 1, 12}, {}, Bytes(64, 0))));
    Bytes png = {0x89, 'P', 'N', 'G'};
    png.resize(64, 0);
    EXPECT_FALSE(IsBitmapOfOurOwnDecoding(png));
    EXPECT_FALSE(DecodeBitmapOfOurOwn(png));
    EXPECT_TRUE(IsBitmapOfOurOwnDecoding(BitmapFile({2, 2, 8, 1}, Palette({0}), {0, 1})));
}

TEST(BitmapDecoding, MalformedOrOversizedFilesGiveNoPictureAndReadNothingOutside) {
    const Bytes palette = Palette({kBlack, kWhite});
    const Bytes runs = {2, 1, 0, 1};
    EXPECT_FALSE(DecodeBitmapOfOurOwn(BitmapFile({0, 1, 8, 1}, palette, runs)));
    EXPECT_FALSE(DecodeBitmapOfOurOwn(BitmapFile({20000, 1, 8, 1}, palette, runs)));
    EXPECT_FALSE(DecodeBitmapOfOurOwn(BitmapFile({10000, 10000, 8, 1}, palette, runs)));
    EXPECT_FALSE(DecodeBitmapOfOurOwn(BitmapFile({-2, 1, 8, 1}, palette, runs)));
    // Run-length pictures run from the bottom only.
    EXPECT_FALSE(DecodeBitmapOfOurOwn(BitmapFile({2, -1, 8, 1}, palette, runs)));
    // A palette cut short by the file's end.
    Bytes cut = BitmapFile({2, 1, 8, 1}, {}, {});
    cut.insert(cut.end(), {0, 0, 0});
    cut[46] = 2;  // two colours used
    EXPECT_FALSE(DecodeBitmapOfOurOwn(cut));
    // Masked rows shorter than the picture.
    EXPECT_FALSE(DecodeBitmapOfOurOwn(
        BitmapFile({4, 2, 32, 3}, Masks({0xFF, 0xFF00, 0xFF0000}), Bytes(4 * 4 * 2 - 1, 0))));
    EXPECT_FALSE(DecodeBitmapOfOurOwn(BitmapFile({1, 1, 16, 3}, {}, {})));  // masks missing
    Bytes header = BitmapFile({1, 1, 16, 3}, Masks({0xF800, 0x07E0, 0x001F}), {0, 0, 0, 0});
    header.resize(kBitmapHeadSize - 1);
    EXPECT_FALSE(IsBitmapOfOurOwnDecoding(header));
    EXPECT_FALSE(DecodeBitmapOfOurOwn(header));

    // A run past the row's end, and an absolute run that the file ends in, stop at the edge.
    const Bytes wild = {255, 1, 0, 0, 0, 200, 1, 1};
    EXPECT_EQ(Decoded(BitmapFile({3, 2, 8, 1}, palette, wild)),
              (std::vector<std::uint32_t>{kBlack, kBlack, kBlack, kWhite, kWhite, kWhite}));
    // A move past the top ends the picture; a move the file cuts short does too.
    const Bytes past = {0, 2, 255, 255, 3, 1, 0, 1};
    EXPECT_EQ(Decoded(BitmapFile({2, 2, 8, 1}, palette, past)),
              (std::vector<std::uint32_t>{kBlack, kBlack, kBlack, kBlack}));
    EXPECT_EQ(Decoded(BitmapFile({2, 1, 8, 1}, palette, {1, 1, 0, 2, 1})),
              (std::vector<std::uint32_t>{kWhite, kBlack}));
    // An index past the listed colours is black, not a read past the palette.
    EXPECT_EQ(Decoded(BitmapFile({1, 1, 8, 1}, palette, {1, 7, 0, 1})),
              (std::vector<std::uint32_t>{kBlack}));
}

// A total as a till shows it, in few enough colours for a palette.
QImage DrawnTotal() {
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 120));
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("\u00A5128.50"));
    return image;
}

// As image tools write a few-coloured picture: a palette and runs of its indexes.
Bytes RunLengthFile(const QImage& drawn) {
    const QImage indexed =
        drawn.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    Bytes palette;
    for (const QRgb colour : indexed.colorTable()) Put32(palette, colour & 0xFFFFFF);
    Bytes runs;
    for (int y = indexed.height() - 1; y >= 0; --y) {
        const uchar* row = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width();) {
            int count = 1;
            while (x + count < indexed.width() && count < 255 && row[x + count] == row[x]) ++count;
            runs.insert(runs.end(), {static_cast<std::uint8_t>(count), row[x]});
            x += count;
        }
        runs.insert(runs.end(), {0, 0});
    }
    runs.insert(runs.end(), {0, 1});
    return BitmapFile({indexed.width(), indexed.height(), 8, 1}, palette, runs);
}

// As image tools write a picture with alpha: 32 bits with colour masks, rows from the top.
Bytes MaskedFile(const QImage& drawn) {
    Bytes pixels;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) Put32(pixels, drawn.pixel(x, y));
    }
    return BitmapFile({drawn.width(), -drawn.height(), 32, 3}, Masks({0xFF0000, 0xFF00, 0xFF}),
                      pixels);
}

TEST(BitmapDecoding, TheAmountChainReadsTotalsFromTheseBitmaps) {
    test::ScopedWorkDir dir;
    setenv("TESSDATA_PREFIX", ZELVO_TESSDATA_DIR, 1);
    const QImage drawn = DrawnTotal();
    for (const Bytes& file : {RunLengthFile(drawn), MaskedFile(drawn)}) {
        for (const bool preprocess : {true, false}) {
            RemoveWorkFiles();
            std::ofstream("cut.bmp", std::ios::binary)
                .write(reinterpret_cast<const char*>(file.data()),
                       static_cast<std::streamsize>(file.size()));
            const ChainResult result = ReadAmountFromImage("cut.bmp", preprocess, u"");
            EXPECT_EQ(result.outcome, ChainOutcome::Read);
            EXPECT_EQ(result.amount, u"128.50") << (preprocess ? "cleaned" : "raw");
        }
    }
}

}  // namespace
}  // namespace zelvo
