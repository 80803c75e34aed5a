#include "capture/BitmapFile.h"

#include <fstream>
#include <filesystem>
#include <limits>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

namespace zelvo {
namespace {

constexpr std::uint32_t kHeadersSize = 14 + 40;

// The colour tables of the palette depths: black and white; the sixteen standard colours; a
// 6 × 6 × 6 colour cube followed by forty greys.
QList<QRgb> ColourTable(int bits) {
    QList<QRgb> table;
    if (bits == 1) {
        table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    } else if (bits == 4) {
        table = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
                 qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
                 qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                 qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    } else if (bits == 8) {
        for (int r = 0; r < 6; ++r) {
            for (int g = 0; g < 6; ++g) {
                for (int b = 0; b < 6; ++b) table.append(qRgb(r * 51, g * 51, b * 51));
            }
        }
        for (int i = 0; i < 40; ++i) table.append(qRgb(i * 255 / 39, i * 255 / 39, i * 255 / 39));
    }
    return table;
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutRow(std::vector<std::uint8_t>& out, const QImage& image, int y, int bits,
            std::uint32_t rowBytes) {
    const size_t start = out.size();
    out.resize(start + rowBytes, 0);
    std::uint8_t* row = out.data() + start;
    for (int x = 0; x < image.width(); ++x) {
        if (bits >= 24) {
            const QRgb pixel = image.pixel(x, y);
            std::uint8_t* at = row + x * (bits / 8);
            at[0] = static_cast<std::uint8_t>(qBlue(pixel));
            at[1] = static_cast<std::uint8_t>(qGreen(pixel));
            at[2] = static_cast<std::uint8_t>(qRed(pixel));
            continue;
        }
        // Palette indices fill each byte from its high bits down.
        const int index = image.pixelIndex(x, y);
        const int bit = x * bits;
        row[bit / 8] |= static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
    }
}

}  // namespace

int BitmapBitsForDisplay(int displayDepth) {
    if (displayDepth <= 1) return 1;
    if (displayDepth <= 4) return 4;
    if (displayDepth <= 8) return 8;
    if (displayDepth <= 24) return 24;
    return 32;
}

std::vector<std::uint8_t> EncodeBitmapFile(const QImage& image, int bits) {
    if (image.isNull() || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) {
        return {};
    }
    const QList<QRgb> table = ColourTable(bits);
    const QImage source =
        bits <= 8 ? image.convertToFormat(QImage::Format_Indexed8, table, Qt::AvoidDither)
                  : image.convertToFormat(QImage::Format_RGB32);
    const std::uint64_t rowBytes = (std::uint64_t{static_cast<std::uint32_t>(bits)} *
                                        static_cast<std::uint32_t>(image.width()) +
                                    31) /
                                   32 * 4;
    const std::uint64_t imageSize = rowBytes * static_cast<std::uint32_t>(image.height());
    const std::uint32_t paletteSize = static_cast<std::uint32_t>(table.size()) * 4;
    const std::uint64_t fileSize = kHeadersSize + paletteSize + imageSize;
    if (fileSize > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) return {};

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<size_t>(fileSize));
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<std::uint32_t>(fileSize));
    Put32(out, 0);
    Put32(out, kHeadersSize + paletteSize);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(image.width()));
    Put32(out, static_cast<std::uint32_t>(image.height()));  // positive: rows bottom-up
    Put16(out, 1);
    Put16(out, static_cast<std::uint16_t>(bits));
    for (int i = 0; i < 6; ++i) Put32(out, 0);  // uncompressed; sizes and colours left to readers
    for (QRgb colour : table) {
        out.push_back(static_cast<std::uint8_t>(qBlue(colour)));
        out.push_back(static_cast<std::uint8_t>(qGreen(colour)));
        out.push_back(static_cast<std::uint8_t>(qRed(colour)));
        out.push_back(0);
    }
    for (int y = source.height() - 1; y >= 0; --y) {
        PutRow(out, source, y, bits, static_cast<std::uint32_t>(rowBytes));
    }
    return out;
}

bool SaveBitmapFile(const QImage& image, const std::string& path) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int bits = BitmapBitsForDisplay(screen ? screen->depth() : 32);
    const std::vector<std::uint8_t> bytes = EncodeBitmapFile(image, bits);
    if (bytes.empty()) return false;
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file.good();
}

}  // namespace zelvo
