#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include <QFont>
#include <QImage>
#include <QPainter>

#include "recognize/GlyphPicture.h"
#include "recognize/GlyphTemplates.h"
#include "recognize/ImageCleaning.h"
#include "recognize/LeptonicaHandles.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

GlyphTemplate Template(char label, std::uint8_t fill, bool segments = false) {
    GlyphTemplate glyph;
    glyph.label = label;
    glyph.segments = segments;
    glyph.picture.fill(fill);
    return glyph;
}

TEST(GlyphTemplatesFile, ReadsWhatWasWrittenAndRefusesAnythingElse) {
    const std::vector<GlyphTemplate> written = {Template('0', 10, true), Template('Y', 200)};
    const std::vector<unsigned char> data = SerialiseGlyphTemplates(written);
    const std::optional<std::vector<GlyphTemplate>> read =
        ParseGlyphTemplates(data.data(), data.size());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[1].label, 'Y');
    EXPECT_EQ((*read)[1].picture, written[1].picture);
    EXPECT_TRUE((*read)[0].segments);
    EXPECT_FALSE((*read)[1].segments);

    const auto refused = [](std::vector<unsigned char> bytes) {
        return !ParseGlyphTemplates(bytes.data(), bytes.size());
    };
    EXPECT_TRUE(refused({}));
    EXPECT_TRUE(refused(std::vector<unsigned char>(data.begin(), data.end() - 1)));  // cut short
    std::vector<unsigned char> otherMagic = data;
    otherMagic[3] = '1';  // the file of a build before the seven-segment faces
    EXPECT_TRUE(refused(otherMagic));
    std::vector<unsigned char> otherCells = data;
    otherCells[4] = kGlyphCells + 1;
    EXPECT_TRUE(refused(otherCells));
    std::vector<unsigned char> unknownLabel = data;
    unknownLabel[5] = 'x';
    EXPECT_TRUE(refused(unknownLabel));
    std::vector<unsigned char> unknownFace = data;
    unknownFace[6] = 2;
    EXPECT_TRUE(refused(unknownFace));
    EXPECT_FALSE(ParseGlyphTemplates(nullptr, 0));
}

TEST(GlyphTemplatesGuess, NamesTheNearestLabelAndHowClearlyItLeads) {
    const std::vector<GlyphTemplate> templates = {Template('1', 0), Template('1', 40),
                                                  Template('7', 100), Template('Y', 250),
                                                  Template('1', 20, true)};
    GlyphPicture glyph;
    glyph.fill(30);
    const std::optional<GlyphGuess> guess = GuessGlyph(templates, glyph);
    ASSERT_TRUE(guess);
    EXPECT_EQ(guess->label, '1');
    EXPECT_EQ(guess->runnerUp, '7');
    EXPECT_DOUBLE_EQ(guess->margin, (70.0 * 70) / (10.0 * 10));
    // The nearest text template is 10 away in each cell, the seven-segment one 10 as well.
    EXPECT_DOUBLE_EQ(guess->segmentsMargin, 1.0);
    // One label alone leads nothing.
    EXPECT_FALSE(GuessGlyph({Template('1', 0)}, glyph));
    EXPECT_FALSE(GuessGlyph({}, glyph));
}

// A one-bit picture with black rectangles (x, y, w, h) on it.
PixPtr Ink(int width, int height, const std::vector<std::array<int, 4>>& boxes) {
    PixPtr ink(pixCreate(width, height, 1));
    for (const auto& [x, y, w, h] : boxes) pixRasterop(ink.get(), x, y, w, h, PIX_SET, nullptr, 0, 0);
    return ink;
}

TEST(GlyphPictureOf, ThePictureDoesNotDependOnTheGlyphsSize) {
    // An L drawn small and four times as large: the same picture, a bar beside it another.
    PixPtr small = Ink(6, 10, {{0, 0, 2, 10}, {0, 8, 6, 2}});
    PixPtr large = Ink(24, 40, {{0, 0, 8, 40}, {0, 32, 24, 8}});
    PixPtr bar = Ink(3, 40, {{0, 0, 3, 40}});
    const GlyphPicture a = PictureOfGlyph(small.get());
    const GlyphPicture b = PictureOfGlyph(large.get());
    const GlyphPicture c = PictureOfGlyph(bar.get());
    const auto largestDifference = [](const GlyphPicture& x, const GlyphPicture& y) {
        int largest = 0;
        for (size_t i = 0; i < x.size(); ++i) largest = std::max(largest, std::abs(x[i] - y[i]));
        return largest;
    };
    EXPECT_LE(largestDifference(a, b), 1);
    EXPECT_GE(largestDifference(a, c), 200);
    // The bar keeps its slimness: it stands in the middle columns only.
    EXPECT_EQ(c[8 * kGlyphCells + 0], 0);
    EXPECT_GT(c[8 * kGlyphCells + 8], 0);
    // Degenerate glyphs give a picture and no fault.
    PixPtr dot = Ink(1, 1, {{0, 0, 1, 1}});
    EXPECT_EQ(PictureOfGlyph(dot.get())[0], 255);
    PixPtr line = Ink(200, 1, {{0, 0, 200, 1}});
    EXPECT_GT(PictureOfGlyph(line.get())[8 * kGlyphCells + 8], 0);
}

TEST(GlyphPictureOf, TheGlyphsOfABoxAreItsTallMarksLeftToRight) {
    // Two glyphs 30 high, a point on the baseline between them, a speck above.
    PixPtr ink = Ink(100, 50, {{10, 10, 12, 30}, {26, 36, 4, 4}, {34, 10, 14, 30}, {60, 2, 2, 2}});
    const std::vector<Glyph> glyphs = GlyphsBetween(ink.get(), 5, 55);
    ASSERT_EQ(glyphs.size(), 2u);
    EXPECT_EQ(glyphs[0].area.x, 10);
    EXPECT_EQ(glyphs[1].area.x, 34);
    GlyphArea area;
    EXPECT_FALSE(GlyphBetween(ink.get(), 5, 55, area));  // two glyphs name none
    EXPECT_TRUE(GlyphBetween(ink.get(), 30, 50, area));
    EXPECT_EQ(area.w, 14);
    // A glyph that stands mostly outside the box is not in it.
    EXPECT_TRUE(GlyphsBetween(ink.get(), 20, 30).empty());
    // Nor is a point alone, which a loose box around it might hold.
    EXPECT_TRUE(GlyphsBetween(ink.get(), 24, 32).empty());
}

// The line "¥ 0 1 … 9" drawn in a font the templates were not drawn from, cleaned as a capture
// is, and the glyphs of its ink.
std::vector<Glyph> DrawnAndCleaned(const QString& family, int size, bool bold, bool antialias) {
    QFont font(family);
    font.setPixelSize(size);
    font.setBold(bold);
    font.setStyleStrategy(antialias ? QFont::PreferAntialias : QFont::NoAntialias);
    const QString text = QStringLiteral("\u00A5 0 1 2 3 4 5 6 7 8 9");
    QImage image(size * 16, size * 3, QImage::Format_RGB32);
    image.fill(QColor(20, 40, 160));  // light text on a dark ground, as many tills show it
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing, antialias);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    painter.end();
    std::vector<Glyph> glyphs;
    if (!image.save(QStringLiteral("line.bmp")) ||
        !CleanImageForRecognition("line.bmp", "line.jpg")) {
        return glyphs;
    }
    PixPtr cleaned(pixRead("line.jpg"));
    PixPtr ink = cleaned ? DarkInk(cleaned.get()) : nullptr;
    if (!ink) return glyphs;
    return GlyphsBetween(ink.get(), 0, pixGetWidth(ink.get()));
}

TEST(BuiltInGlyphTemplates, NameTheDigitsAndSignOfFontsTheyWereNotDrawnFrom) {
    const std::vector<GlyphTemplate>& templates = BuiltInGlyphTemplates();
    ASSERT_FALSE(templates.empty()) << "the build drew no templates";
    for (char label : kGlyphLabels) {
        EXPECT_TRUE(std::any_of(templates.begin(), templates.end(),
                                [&](const GlyphTemplate& t) { return t.label == label; }))
            << label;
    }
    test::ScopedWorkDir dir;
    struct Look {
        const char* family;
        int size;
        bool bold;
        bool antialias;
    };
    const Look looks[] = {{"DejaVu Sans", 14, false, true},     {"DejaVu Serif", 30, true, true},
                          {"Liberation Mono", 18, false, false}, {"Liberation Sans", 40, false, true},
                          {"FreeSerif", 24, false, false},        {"WenQuanYi Micro Hei", 20, true, true}};
    const std::string labels = "Y0123456789";
    for (const Look& look : looks) {
        const std::vector<Glyph> glyphs =
            DrawnAndCleaned(QString::fromUtf8(look.family), look.size, look.bold, look.antialias);
        ASSERT_EQ(glyphs.size(), labels.size()) << look.family << " " << look.size;
        int sure = 0;
        for (size_t i = 0; i < glyphs.size(); ++i) {
            const std::optional<GlyphGuess> guess =
                GuessGlyph(templates, PictureOfGlyph(glyphs[i].pix.get()));
            ASSERT_TRUE(guess);
            EXPECT_EQ(guess->label, labels[i]) << look.family << " " << look.size;
            sure += guess->margin >= 1.5;
        }
        EXPECT_GE(sure, 9) << look.family << " " << look.size;
    }
}

}  // namespace
}  // namespace zelvo
