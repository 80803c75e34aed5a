#include "TillCorpus.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <utility>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>

#include "capture/BitmapFile.h"

namespace zelvo::bench {
namespace {

struct Colours {
    QColor ink;
    QColor ground;
    const char* name;
};

const Colours kColours[] = {
    {Qt::black, Qt::white, "black on white"},
    {Qt::white, QColor(0, 60, 170), "white on blue"},
    {QColor(255, 230, 0), Qt::black, "yellow on black"},
    {QColor(0, 230, 60), Qt::black, "green on black"},
    {QColor(220, 0, 0), Qt::white, "red on white"},
    {QColor(60, 60, 60), QColor(200, 200, 200), "dark grey on grey"},
    {QColor(230, 230, 230), QColor(110, 110, 110), "light grey on grey"},
    {QColor(20, 20, 120), QColor(235, 240, 250), "navy on pale blue"},
};

const char* const kWantedFamilies[] = {
    "DejaVu Sans",      "DejaVu Serif",        "DejaVu Sans Mono", "Liberation Sans",
    "Liberation Serif", "Liberation Mono",     "FreeSans",         "FreeSerif",
    "FreeMono",         "WenQuanYi Micro Hei", "AR PL UMing CN",   "DSEG7 Classic",
};

const char* const kLabels[] = {"合计：", "应收：", "金额：", "合计 ", "应收 "};

std::string WithThousands(const std::string& whole) {
    std::string out;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) out += ',';
        out += whole[i];
    }
    return out;
}

QImage Blurred(const QImage& image) {
    QImage out = image.copy();
    for (int y = 1; y + 1 < image.height(); ++y) {
        for (int x = 1; x + 1 < image.width(); ++x) {
            int r = 0, g = 0, b = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const QRgb p = image.pixel(x + dx, y + dy);
                    r += qRed(p);
                    g += qGreen(p);
                    b += qBlue(p);
                }
            }
            out.setPixel(x, y, qRgb(r / 9, g / 9, b / 9));
        }
    }
    return out;
}

// The picture `draw` makes, drawn as ClearType draws text: at three times the width, each third
// of a pixel becoming one of its red, green and blue parts, smoothed across five thirds so
// that the colour fringes stay faint.
QImage SubpixelRendered(QSize size, const Colours& colours,
                        const std::function<void(QPainter&, const QColor&)>& draw) {
    QImage coverage(size.width() * 3, size.height(), QImage::Format_RGB32);
    coverage.fill(Qt::white);
    {
        QPainter painter(&coverage);
        painter.scale(3.0, 1.0);
        draw(painter, Qt::black);
    }
    const int thirds = coverage.width();
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(coverage.constScanLine(y));
        QRgb* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const auto covered = [&](int third) {
            return third < 0 || third >= thirds ? 0.0 : 1.0 - qGray(in[third]) / 255.0;
        };
        for (int x = 0; x < size.width(); ++x) {
            double part[3];
            for (int k = 0; k < 3; ++k) {
                const int third = 3 * x + k;
                part[k] = (covered(third - 2) + 2 * covered(third - 1) + 3 * covered(third) +
                           2 * covered(third + 1) + covered(third + 2)) /
                          9.0;
            }
            const auto mixed = [&](int ground, int ink, double share) {
                return static_cast<int>(std::lround(ground + (ink - ground) * share));
            };
            const QColor& g = colours.ground;
            const QColor& i = colours.ink;
            row[x] = qRgb(mixed(g.red(), i.red(), part[0]), mixed(g.green(), i.green(), part[1]),
                          mixed(g.blue(), i.blue(), part[2]));
        }
    }
    return out;
}

// splitmix64's output step: the same on every platform, unlike the standard distributions.
std::uint64_t Mixed(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kSubpixelSalt = 0x5CA1AB1Eull;

// The first and last rows of `image` that show anything but the ground.
std::pair<int, int> InkRows(const QImage& image, QColor ground) {
    int first = image.height(), last = -1;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] != ground.rgb()) {
                first = std::min(first, y);
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

}  // namespace

// The seed is stirred first, so that neighbouring seeds start far apart in the sequence instead
// of giving the same totals a few draws later.
TillCorpus::TillCorpus(std::uint32_t seed, const std::vector<std::string>& families, bool unitClose)
    : m_state(Mixed(seed + kGolden)), m_unitClose(unitClose) {
    const QStringList installed = QFontDatabase::families();
    std::vector<std::string> wanted = families;
    if (wanted.empty()) wanted.assign(std::begin(kWantedFamilies), std::end(kWantedFamilies));
    for (const std::string& family : wanted) {
        if (installed.contains(QString::fromStdString(family)))
            m_families.push_back(QString::fromStdString(family));
    }
    if (m_families.empty()) m_families.push_back(QStringLiteral("Sans"));
}

std::uint32_t TillCorpus::Draw() {
    return static_cast<std::uint32_t>(Mixed(m_state += kGolden) >> 32);
}

int TillCorpus::Between(int low, int high) {
    return low + static_cast<int>(Draw() % static_cast<std::uint32_t>(high - low + 1));
}

bool TillCorpus::Chance(int percent) {
    return Between(1, 100) <= percent;
}

TillSample TillCorpus::Next() {
    // Cents spread over the orders of magnitude from 0.01 to 99999.99.
    const double exponent = (Draw() / 4294967296.0) * 7.0;
    std::int64_t cents =
        std::clamp<std::int64_t>(std::llround(std::pow(10.0, exponent)), 1, 9999999);
    const int decimals = Chance(60) ? 2 : (Chance(50) ? 1 : 0);
    if (decimals == 1) cents = std::max<std::int64_t>(10, cents / 10 * 10);
    if (decimals == 0) cents = std::max<std::int64_t>(100, cents / 100 * 100);
    std::string whole = std::to_string(cents / 100);
    std::string fraction = std::to_string(cents % 100 + 100).substr(1, decimals);
    std::string amount = whole + (decimals ? "." + fraction : "");
    std::string number = (whole.size() > 3 && Chance(40) ? WithThousands(whole) : whole) +
                         (decimals ? "." + fraction : "");

    std::string shown;
    if (Chance(20)) shown += kLabels[Between(0, 4)];
    const int sign = Between(0, 2);
    if (sign == 1) shown += "\u00A5";
    if (sign == 2) shown += "\uFFE5";
    shown += number;
    // Drawn either way, so that the rest of the corpus stays the seed's.
    const bool unit = Chance(10);
    if (m_unitClose) {
        shown += "元";
    } else if (unit) {
        shown += " 元";
    }

    const QString family =
        m_families[static_cast<size_t>(Between(0, static_cast<int>(m_families.size()) - 1))];
    QFont font(family);
    const int size = Between(12, 48);
    font.setPixelSize(size);
    font.setBold(Chance(25));
    const bool antialias = Chance(60);
    font.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    const Colours& colours = kColours[Between(0, static_cast<int>(std::size(kColours)) - 1)];
    const QString text = QString::fromStdString(shown);
    const QFontMetrics metrics(font);
    const int marginX = Between(2, 40);
    const int marginY = Between(2, 20);
    const int width = metrics.horizontalAdvance(text) + 2 * marginX;
    const int height = metrics.height() + 2 * marginY;
    const bool border = Chance(20);
    // ClearType's coloured edges, as most Windows tills show text. Decided from the state
    // without a draw, so that a seed keeps the totals it gave before.
    const bool subpixel = antialias && Mixed(m_state ^ kSubpixelSalt) % 4 == 0;
    // A glyph from a fallback font (a currency sign, a label) makes the line taller than the
    // font's own height, and the line is centred on that height: drawn clipped to it, the
    // seven-segment face lost its top bars. The text is drawn whole, on a canvas with room
    // around it, and the picture grows only where the text reaches past it.
    const int room = metrics.height();
    const auto draw = [&](QPainter& painter, const QColor& ink) {
        painter.translate(0, room);
        painter.setRenderHint(QPainter::TextAntialiasing, antialias);
        painter.setFont(font);
        painter.setPen(ink);
        if (border) {
            const int inset = std::max(1, std::min(marginX, marginY) / 2);
            painter.drawRect(QRect(inset, inset, width - 2 * inset - 1, height - 2 * inset - 1));
        }
        painter.drawText(QRect(marginX, marginY, width - 2 * marginX, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, text);
    };
    const QSize canvasSize(width, height + 2 * room);
    QImage canvas = subpixel ? SubpixelRendered(canvasSize, colours, draw)
                             : QImage(canvasSize, QImage::Format_RGB32);
    if (!subpixel) {
        canvas.fill(colours.ground);
        QPainter painter(&canvas);
        draw(painter, colours.ink);
    }
    const auto [inkTop, inkBottom] = InkRows(canvas, colours.ground);
    const int top = std::min(room, inkTop);
    const int bottom = std::max(room + height, inkBottom + 1);
    QImage image = canvas.copy(0, top, width, bottom - top);
    const bool blur = Chance(15);
    if (blur) image = Blurred(image);
    int scale = 100;
    if (Chance(20)) {
        scale = Chance(50) ? 125 : 150;
        image = image.scaled(image.width() * scale / 100, image.height() * scale / 100,
                             Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    std::string look = family.toStdString() + " " + std::to_string(size) + "px" +
                       (font.bold() ? " bold" : "") + (antialias ? "" : " aliased") +
                       (subpixel ? " subpixel" : "") + ", " + colours.name +
                       (border ? ", border" : "") + (blur ? ", blur" : "") +
                       (scale != 100 ? ", " + std::to_string(scale) + "%" : "");
    return {image, shown, amount, look};
}

std::vector<std::pair<std::filesystem::path, std::string>> WriteCorpus(
    const std::filesystem::path& folder, int count, std::uint32_t seed,
    const std::vector<std::string>& families, bool unitClose) {
    std::filesystem::create_directories(folder);
    TillCorpus corpus(seed, families, unitClose);
    std::ofstream truth(folder / "truth.tsv");
    std::vector<std::pair<std::filesystem::path, std::string>> samples;
    for (int i = 0; i < count; ++i) {
        TillSample sample = corpus.Next();
        char name[16];
        std::snprintf(name, sizeof name, "%04d.bmp", i);
        const std::vector<std::uint8_t> bytes = EncodeBitmapFile(sample.image, 24);
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        truth << name << '\t' << sample.amount << '\t' << sample.shown << '\t' << sample.look
              << '\n';
        samples.emplace_back(folder / name, sample.amount);
    }
    return samples;
}

}  // namespace zelvo::bench
