// Draws the digits and the currency sign in the fonts the build machine has, cleans each line
// as a capture is cleaned, and writes the glyphs as the reader's templates:
// glyph-templates <out-file>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTemporaryDir>

#include <leptonica/allheaders.h>

#include "recognize/GlyphPicture.h"
#include "recognize/GlyphTemplates.h"
#include "recognize/ImageCleaning.h"

namespace {

using namespace zelvo;

// Fonts of many designs (grotesque, humanist, geometric, serif, monospaced, narrow, and the
// Latin digits and full-width sign of two Chinese faces); the fonts the amount bench draws its
// tills in are left out on purpose, so that its figures are those of fonts the reader was not
// taught.
constexpr const char* kFamilies[] = {
    "Nimbus Sans",  "Nimbus Sans Narrow", "Nimbus Roman",   "Nimbus Mono PS", "URW Gothic",
    "URW Bookman",  "C059",               "P052",           "Roboto",         "Roboto Condensed",
    "Open Sans",    "Lato",               "Cantarell",      "Carlito",        "Caladea",
    "Hack",         "Inconsolata",        "Noto Mono",      "WenQuanYi Zen Hei",
    "AR PL UKai CN",
};
// Seven-segment faces, as customer displays show totals; taught so that such a line is known
// for what it is. The bench's face is left out here too.
constexpr const char* kSegmentFamilies[] = {"DSEG7 Modern",      "DSEG7 Modern Mini",
                                            "DSEG7 7SEGGCHAN",   "DSEG7 7SEGGCHAN MINI",
                                            "DSEG14 Modern",     "DSEG14 Modern Mini"};
constexpr int kSizes[] = {11, 12, 13, 14, 15, 16, 17, 18, 20, 22, 25, 28, 32, 37, 43, 48};

// Spaced, so that each glyph stands apart; the label of each, in order. The seven-segment faces
// have no currency sign; a text face without the full-width sign draws its own sign twice, since
// another font standing in for it would make the templates depend on what else is installed.
struct Line {
    QString text;
    std::string_view labels;
};
const Line kTextLine = {QStringLiteral("\u00A5 0 1 2 3 4 5 6 7 8 9 \uFFE5"), "Y0123456789Y"};
const Line kTextLineWithoutFullWidth = {QStringLiteral("\u00A5 0 1 2 3 4 5 6 7 8 9 \u00A5"),
                                        "Y0123456789Y"};
const Line kSegmentLine = {QStringLiteral("0 1 2 3 4 5 6 7 8 9"), "0123456789"};

struct Look {
    QString family;
    int size;
    bool bold;
    bool antialias;
    QString text;
};

// Softened as a display's scaling softens it: drawn smaller and scaled back up.
QImage Softened(const QImage& image) {
    const QImage smaller = image.scaled(image.width() * 3 / 5, image.height() * 3 / 5,
                                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return smaller.scaled(image.width(), image.height(), Qt::IgnoreAspectRatio,
                          Qt::SmoothTransformation);
}

QImage Drawn(const Look& look) {
    QFont font(look.family);
    font.setPixelSize(look.size);
    font.setBold(look.bold);
    font.setStyleStrategy(look.antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    const QFontMetrics metrics(font);
    const int margin = 6;
    QImage image(metrics.horizontalAdvance(look.text) + 2 * margin,
                 metrics.height() * 2 + 2 * margin, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, look.antialias);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter | Qt::TextDontClip, look.text);
    return image;
}

// The glyphs of a cleaned line, left to right: ink components, those that overlap across
// joined (the pieces of a broken stroke, the segments of a seven-segment digit), specks left
// out.
std::vector<PixPtr> GlyphsOf(Pix* cleaned) {
    std::vector<PixPtr> glyphs;
    PixPtr ink = DarkInk(cleaned);
    if (!ink) return glyphs;
    BoxaPtr boxes(pixConnComp(ink.get(), nullptr, 8));
    if (!boxes) return glyphs;
    struct Span {
        int left, top, right, bottom;
    };
    std::vector<Span> spans;
    for (int i = 0; i < boxaGetCount(boxes.get()); ++i) {
        int x, y, w, h;
        boxaGetBoxGeometry(boxes.get(), i, &x, &y, &w, &h);
        if (w > 2 || h > 2) spans.push_back({x, y, x + w, y + h});
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.left < b.left; });
    std::vector<Span> joined;
    for (const Span& span : spans) {
        if (!joined.empty() && span.left < joined.back().right) {
            Span& last = joined.back();
            last = {last.left, std::min(last.top, span.top), std::max(last.right, span.right),
                    std::max(last.bottom, span.bottom)};
        } else {
            joined.push_back(span);
        }
    }
    for (const Span& span : joined) {
        Box* box = boxCreate(span.left, span.top, span.right - span.left, span.bottom - span.top);
        glyphs.emplace_back(pixClipRectangle(ink.get(), box, nullptr));
        boxDestroy(&box);
    }
    return glyphs;
}

// The installed family of that name; fonts that come from two foundries are listed with the
// foundry after the name ("Nimbus Sans [urw]").
QString Installed(const QStringList& installed, const QString& name) {
    for (const QString& family : installed) {
        if (family == name || family.startsWith(name + QStringLiteral(" ["))) return family;
    }
    return {};
}

// A glyph almost the same as one the font already gave adds nothing but time to each reading.
bool AlreadyKnown(const std::vector<GlyphTemplate>& fontTemplates, const GlyphTemplate& glyph) {
    constexpr int kSame = 16 * 16 * 12 * 12;
    return std::any_of(fontTemplates.begin(), fontTemplates.end(), [&](const GlyphTemplate& t) {
        return t.label == glyph.label && GlyphDistance(t.picture, glyph.picture) < kSame;
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: glyph-templates <out-file>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    setMsgSeverity(L_SEVERITY_NONE);
    QTemporaryDir work;
    const std::string screen = (work.path() + QStringLiteral("/line.bmp")).toStdString();
    const std::string cleaned = (work.path() + QStringLiteral("/line.jpg")).toStdString();
    const QStringList installed = QFontDatabase::families();
    std::vector<GlyphTemplate> templates;
    int fonts = 0, lines = 0, refused = 0;
    const auto teach = [&](const char* name, const Line& line, bool segments) {
        const QString family = Installed(installed, QString::fromUtf8(name));
        if (family.isEmpty()) return;
        ++fonts;
        std::vector<GlyphTemplate> fontTemplates;
        for (const int size : kSizes) {
            for (const bool bold : {false, true}) {
                for (const bool antialias : {true, false}) {
                    const QImage drawn = Drawn({family, size, bold, antialias, line.text});
                    // A display's digits are often seen softened; text fonts have enough
                    // variety without it.
                    for (const bool soft : {false, true}) {
                        if (soft && !segments) continue;
                        ++lines;
                        if (!(soft ? Softened(drawn) : drawn).save(QString::fromStdString(screen)) ||
                            !CleanImageForRecognition(screen, cleaned)) {
                            ++refused;
                            continue;
                        }
                        PixPtr image(pixRead(cleaned.c_str()));
                        std::vector<PixPtr> glyphs =
                            image ? GlyphsOf(image.get()) : std::vector<PixPtr>{};
                        // A line whose glyphs did not come apart one by one teaches nothing sure.
                        if (glyphs.size() != line.labels.size()) {
                            ++refused;
                            continue;
                        }
                        for (size_t i = 0; i < glyphs.size(); ++i) {
                            GlyphTemplate glyph{line.labels[i], segments,
                                                PictureOfGlyph(glyphs[i].get())};
                            if (!AlreadyKnown(fontTemplates, glyph)) fontTemplates.push_back(glyph);
                        }
                    }
                }
            }
        }
        templates.insert(templates.end(), fontTemplates.begin(), fontTemplates.end());
    };
    for (const char* name : kFamilies) {
        const QRawFont face = QRawFont::fromFont(QFont(Installed(installed, QString::fromUtf8(name))));
        teach(name, face.supportsCharacter(0xFFE5u) ? kTextLine : kTextLineWithoutFullWidth, false);
    }
    for (const char* name : kSegmentFamilies) teach(name, kSegmentLine, true);
    if (fonts == 0 || templates.empty()) {
        std::fprintf(stderr, "glyph-templates: none of the fonts is installed\n");
        return 1;
    }
    const std::vector<unsigned char> data = SerialiseGlyphTemplates(templates);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out) {
        std::fprintf(stderr, "glyph-templates: cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("glyph-templates: %zu templates from %d fonts (%d of %d lines refused)\n",
                templates.size(), fonts, refused, lines);
    return 0;
}
