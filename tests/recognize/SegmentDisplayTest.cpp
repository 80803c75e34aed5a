#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <leptonica/allheaders.h>

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>

#include "recognize/AmountChain.h"
#include "recognize/ImageCleaning.h"
#include "recognize/SegmentDisplay.h"
#include "recognize/SegmentMarks.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

// Lit segments, one bit each: top, upper right, lower right, bottom, lower left, upper left,
// middle.
constexpr unsigned kDigitSegments[] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

struct Colours {
    l_uint32 ink;
    l_uint32 ground;
};
constexpr Colours kBlackOnWhite{0x00000000, 0xFFFFFF00};
constexpr Colours kYellowOnBlack{0xFFE60000, 0x00000000};
constexpr Colours kRedOnWhite{0xDC000000, 0xFFFFFF00};

// A seven-segment display drawn bar by bar, with the small gaps between segments such displays
// have, in a 32-bit screen copy.
class DrawnDisplay {
public:
    DrawnDisplay(int cellHeight, Colours colours = kBlackOnWhite)
        : m_height(cellHeight),
          m_width(cellHeight * 11 / 20),
          m_thickness(std::max(2, cellHeight / 9)),
          m_gap(std::max(1, cellHeight / 40)),
          m_colours(colours),
          m_pix(pixCreate(cellHeight * 10, cellHeight * 2, 32)),
          m_pointInk(colours.ink) {
        pixSetAllArbitrary(m_pix, colours.ground);
        m_x = m_top = cellHeight / 2;
    }
    ~DrawnDisplay() { pixDestroy(&m_pix); }

    // Digits, '.' and ',' as shown, '*' a dot halfway up, '\'' one at the cells' top; any other
    // character lights the segments `lit`.
    DrawnDisplay& Show(const std::string& text, unsigned lit = 0) {
        for (char c : text) {
            if (c == '.' || c == ',' || c == '*' || c == '\'') {
                const int x = m_x - Spacing() / 2 - m_thickness / 2;
                const int size = m_pointSize ? m_pointSize : m_thickness;
                const int y = c == '*'    ? m_top + m_height / 2
                              : c == '\'' ? m_top
                                          : m_top + m_height - size;
                Fill(x, y, size, c == ',' ? 2 * size : size, m_pointInk);
                continue;
            }
            Cell(c >= '0' && c <= '9' ? kDigitSegments[c - '0'] : lit);
        }
        return *this;
    }
    // A mark of another font before the digits: a filled block of the given share of the height.
    DrawnDisplay& Block(int heightPercent) {
        const int h = m_height * heightPercent / 100;
        Fill(m_x, m_top + m_height - h, m_width, h);
        m_x += m_width + Spacing();
        return *this;
    }
    // A field border `margin` pixels around the cells; 0 touches their top segments.
    DrawnDisplay& Frame(int margin, int line = 2) {
        const int left = m_top - margin - line, top = m_top - margin - line;
        const int right = m_x + margin, bottom = m_top + m_height + margin;
        Fill(left, top, right - left + line, line);
        Fill(left, bottom, right - left + line, line);
        Fill(left, top, line, bottom - top);
        Fill(right, top, line, bottom - top + line);
        return *this;
    }
    // One upright stroke as tall as a cell, at its right: a plain "1" or "l" of an ordinary
    // font, no pair of segments.
    DrawnDisplay& Stroke() {
        Fill(m_x + m_width - m_thickness, m_top, m_thickness, m_height);
        m_x += m_width + Spacing();
        return *this;
    }
    // A thin upright line beside the cells, `margin` pixels right of them and taller than they
    // are: a field border's side; or a line `margin` pixels under them.
    DrawnDisplay& SideLine(int margin) {
        Fill(m_x + margin, m_top - margin, 2, m_height + 2 * margin);
        return *this;
    }
    DrawnDisplay& Underline(int margin) {
        Fill(m_top, m_top + m_height + margin, m_x - m_top, 2);
        return *this;
    }
    // Upper and lower vertical segments drawn as one bar, as some displays' glyphs show them.
    DrawnDisplay& JoinedSides() {
        m_joinedSides = true;
        return *this;
    }
    DrawnDisplay& PointSize(int size) {
        m_pointSize = size;
        return *this;
    }
    // Points drawn with `percent` of the ink's strength over the ground, as anti-aliasing
    // leaves a point smaller than a pixel or two.
    DrawnDisplay& PalePoints(int percent) {
        l_int32 r, g, b, gr, gg, gb;
        extractRGBValues(m_colours.ink, &r, &g, &b);
        extractRGBValues(m_colours.ground, &gr, &gg, &gb);
        const auto mix = [&](int ink, int ground) {
            return ground + (ink - ground) * percent / 100;
        };
        composeRGBPixel(mix(r, gr), mix(g, gg), mix(b, gb), &m_pointInk);
        return *this;
    }
    // A one-pixel bridge from the last cell's top segment to its upper right one, as
    // anti-aliasing leaves where segments nearly touch.
    DrawnDisplay& Neck() {
        Fill(m_cell + m_width - m_thickness - m_gap, m_top + m_gap, m_gap, 1);
        return *this;
    }
    Pix* Image() { return m_pix; }

private:
    int m_height, m_width, m_thickness, m_gap;
    Colours m_colours;
    Pix* m_pix;
    l_uint32 m_pointInk;
    int m_x = 0, m_top = 0, m_cell = 0, m_pointSize = 0;
    bool m_joinedSides = false;

    int Spacing() const { return m_width * 2 / 5; }

    void Fill(int x, int y, int w, int h) { Fill(x, y, w, h, m_colours.ink); }
    void Fill(int x, int y, int w, int h, l_uint32 colour) {
        Box* box = boxCreate(x, y, w, h);
        pixSetInRectArbitrary(m_pix, box, colour);
        boxDestroy(&box);
    }
    void Cell(unsigned lit) {
        const int t = m_thickness, g = m_gap, half = m_height / 2;
        const int across = m_width - 2 * t - 2 * g;
        const int down = half - 2 * g;
        m_cell = m_x;
        const int left = m_x, right = m_x + m_width - t, inner = m_x + t + g;
        if (lit & 0x01) Fill(inner, m_top, across, t);
        // Joined, a side's two segments also fill the gap between them.
        const int join = m_joinedSides ? 2 * g : 0;
        if (lit & 0x02) Fill(right, m_top + g, t, down + ((lit & 0x04) ? join : 0));
        if (lit & 0x04) Fill(right, m_top + half + g, t, down);
        if (lit & 0x08) Fill(inner, m_top + m_height - t, across, t);
        if (lit & 0x10) Fill(left, m_top + half + g, t, down);
        if (lit & 0x20) Fill(left, m_top + g, t, down + ((lit & 0x10) ? join : 0));
        if (lit & 0x40) Fill(inner, m_top + half - t / 2, across, t);
        m_x += m_width + Spacing();
    }
};

std::optional<std::string> ReadQtImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Pix* pix = pixCreate(rgb.width(), rgb.height(), 32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            pixSetRGBPixel(pix, x, y, qRed(p), qGreen(p), qBlue(p));
        }
    }
    std::optional<std::string> number = ReadSegmentNumber(pix);
    pixDestroy(&pix);
    return number;
}

// Text as a till screen shows it: `text` in `family`, with Qt's fallback fonts for signs and
// labels the family lacks.
QImage Rendered(const QString& text, const QString& family, int pixelSize, QColor ink = Qt::black,
                QColor ground = Qt::white, bool antialias = true) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    if (!antialias) font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 20, pixelSize * 2 + 10, QImage::Format_RGB32);
    image.fill(ground);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(image.rect(), Qt::AlignCenter | Qt::TextDontClip, text);
    return image;
}

const QString kSegmentFont = QStringLiteral("DSEG7 Classic");

bool HaveFont(const QString& family) {
    return QFontDatabase::families().contains(family);
}

TEST(SegmentDisplay, EveryDigitPatternReadsAsItsDigit) {
    for (int height : {24, 44}) {
        DrawnDisplay all(height);
        EXPECT_EQ(ReadSegmentNumber(all.Show("0123456789").Image()), "0123456789") << height;
        for (char digit = '0'; digit <= '9'; ++digit) {
            DrawnDisplay alone(height);
            EXPECT_EQ(ReadSegmentNumber(alone.Show(std::string(1, digit)).Image()),
                      std::string(1, digit))
                << height;
        }
    }
    // A 7 with its upper left segment lit, as some displays draw it.
    DrawnDisplay seven(40);
    EXPECT_EQ(ReadSegmentNumber(seven.Show("1").Show("x", 0x27).Image()), "17");
}

TEST(SegmentDisplay, PointsAndSeparatorsStandBetweenCells) {
    DrawnDisplay point(40);
    EXPECT_EQ(ReadSegmentNumber(point.Show("34.3").Image()), "34.3");
    DrawnDisplay separators(40);
    EXPECT_EQ(ReadSegmentNumber(separators.Show("1,280.50").Image()), "1,280.50");
    // A mark that hangs a little may be either: three digits after it make it a separator,
    // fewer the point.
    DrawnDisplay thousands(40);
    EXPECT_EQ(ReadSegmentNumber(thousands.Show("12,805").Image()), "12,805");
    DrawnDisplay decimals(40);
    EXPECT_EQ(ReadSegmentNumber(decimals.Show("128,05").Image()), "128.05");
    // Segments joined by a thread come apart when the ink is thinned; a point too small to
    // survive the thinning must not be lost with it.
    DrawnDisplay thread(80);
    EXPECT_EQ(ReadSegmentNumber(thread.Show("1.2").Neck().Image()), "1.2");
    DrawnDisplay speck(80);
    EXPECT_EQ(ReadSegmentNumber(speck.PointSize(2).Show("1.2").Neck().Image()), std::nullopt);
    DrawnDisplay ones(40);
    EXPECT_EQ(ReadSegmentNumber(ones.Show("1.1").Image()), "1.1");
    // A point after the last digit belongs to no number, a dot halfway up is no point.
    DrawnDisplay trailing(40);
    EXPECT_EQ(ReadSegmentNumber(trailing.Show("12.").Image()), std::nullopt);
    DrawnDisplay raised(40);
    EXPECT_EQ(ReadSegmentNumber(raised.Show("12*50").Image()), std::nullopt);
    // A speck halfway up may be a raised point drawn small; at the cells' top it is none (what
    // a field's frame leaves where the digits touched it).
    DrawnDisplay smallRaised(80);
    EXPECT_EQ(ReadSegmentNumber(smallRaised.PointSize(2).Show("12*50").Image()), std::nullopt);
    DrawnDisplay atTheTop(80);
    EXPECT_EQ(ReadSegmentNumber(atTheTop.PointSize(2).Show("12'50").Image()), "1250");
}

TEST(SegmentDisplay, APointTooPaleToBeInkStillPartsTheDecimals) {
    // Drawn small, a display's point may come out paler than the level its segments are cut
    // at: passed over, it would make the amount a hundred times larger. A very pale one leaves
    // the number in doubt.
    for (int height : {20, 24, 28, 32}) {
        for (Colours colours : {kYellowOnBlack, kBlackOnWhite}) {
            DrawnDisplay pale(height, colours);
            EXPECT_EQ(ReadSegmentNumber(pale.PalePoints(40).Show("358.00").Image()), "358.00")
                << height;
            DrawnDisplay paler(height, colours);
            EXPECT_EQ(ReadSegmentNumber(paler.PalePoints(20).Show("358.00").Image()), std::nullopt)
                << height;
        }
    }
    // The picture written from the display's ink shows such a point as ink.
    test::ScopedWorkDir dir;
    DrawnDisplay written(24, kYellowOnBlack);
    ASSERT_EQ(pixWrite("cut.bmp", written.PalePoints(40).Show("358.00").Image(), IFF_BMP), 0);
    ASSERT_TRUE(WriteSegmentDisplay("cut.bmp", "cut.jpg"));
    PixPtr cleaned(pixRead("cut.jpg"));
    ASSERT_TRUE(cleaned);
    EXPECT_EQ(ReadSegmentNumber(cleaned.get()), "358.00");
    // A blurred frame close under the digits darkens every gap's foot: no point.
    DrawnDisplay framed(28, kYellowOnBlack);
    Pix* blurred = pixBlockconv(framed.Show("662.69").Frame(0, 1).Image(), 1, 1);
    EXPECT_EQ(ReadSegmentNumber(blurred), "662.69");
    pixDestroy(&blurred);
}

TEST(SegmentDisplay, LitSetsThatAreNoDigitGiveNothing) {
    // Two bars ("="), an 8 short of its top, a hexadecimal "b", a minus sign in front.
    for (unsigned lit : {0x09u, 0x7Eu, 0x7Cu}) {
        DrawnDisplay display(40);
        EXPECT_EQ(ReadSegmentNumber(display.Show("5").Show("x", lit).Show("0").Image()),
                  std::nullopt)
            << lit;
    }
    // A dark cell inside the number leaves it in doubt.
    DrawnDisplay dark(40);
    EXPECT_EQ(ReadSegmentNumber(dark.Show("12").Show("x", 0).Show("5").Image()), std::nullopt);
    // A field border touching the top segments comes off, a hairline or a thick one, and leaves
    // the 7's top bar.
    DrawnDisplay touching(40);
    EXPECT_EQ(ReadSegmentNumber(touching.Show("17").Frame(0, 6).Image()), "17");
    DrawnDisplay hairline(40);
    EXPECT_EQ(ReadSegmentNumber(hairline.Show("17").Frame(0, 1).Image()), "17");
    DrawnDisplay stroke(40);
    EXPECT_EQ(ReadSegmentNumber(stroke.Show("25").Stroke().Image()), std::nullopt);
    DrawnDisplay minus(40);
    EXPECT_EQ(ReadSegmentNumber(minus.Show("x", 0x40).Show("5.00").Image()), std::nullopt);
}

TEST(SegmentDisplay, WhatStandsLeftOfTheDigitsIsPassedOver) {
    DrawnDisplay sign(40);
    EXPECT_EQ(ReadSegmentNumber(sign.Block(70).Show("86.50").Image()), "86.50");
    // A mark as tall as the cells where a digit would stand may be a digit read as nothing.
    DrawnDisplay joined(40);
    EXPECT_EQ(ReadSegmentNumber(joined.Block(100).Show("6.50").Image()), std::nullopt);
}

TEST(SegmentDisplay, AUnitAfterTheDigitsIsPassedOver) {
    // "元" in another font stands lower than the cells' top.
    DrawnDisplay unit(40);
    EXPECT_EQ(ReadSegmentNumber(unit.Show("18.30").Block(75).Image()), "18.30");
    // A mark reaching their top, however far after them, may be a digit they missed; a point
    // after the last cell would be followed by one.
    DrawnDisplay tall(40);
    EXPECT_EQ(ReadSegmentNumber(tall.Show("18.30").Block(75).Block(100).Image()), std::nullopt);
    DrawnDisplay point(40);
    EXPECT_EQ(ReadSegmentNumber(point.Show("18.3.").Block(75).Image()), std::nullopt);
}

TEST(SegmentDisplay, SidesWhoseSegmentsRunTogetherRead) {
    DrawnDisplay joined(40);
    EXPECT_EQ(ReadSegmentNumber(joined.JoinedSides().Show("3588.35").Image()), "3588.35");
    DrawnDisplay seven(40);
    EXPECT_EQ(ReadSegmentNumber(seven.JoinedSides().Show("80.27").Image()), "80.27");
    // A 1 so drawn is one upright stroke, which may as well be a letter's.
    DrawnDisplay one(40);
    EXPECT_EQ(ReadSegmentNumber(one.JoinedSides().Show("80.1").Image()), std::nullopt);
}

TEST(SegmentDisplay, BordersBesideAndUnderTheDigitsAreNoPartOfThem) {
    DrawnDisplay side(40);
    EXPECT_EQ(ReadSegmentNumber(side.Show("26.04").SideLine(8).Image()), "26.04");
    DrawnDisplay under(40);
    EXPECT_EQ(ReadSegmentNumber(under.Show("26.04").Underline(8).Image()), "26.04");
    // A side as thick as a segment may be a 1 of another font.
    DrawnDisplay stroke(40);
    EXPECT_EQ(ReadSegmentNumber(stroke.Show("26.04").Stroke().Image()), std::nullopt);
    // A field's frame drawn close around the cells, touching their top segments, is no part of
    // them either.
    for (int height : {20, 28}) {
        for (int margin : {0, 1}) {
            DrawnDisplay framed(height);
            EXPECT_EQ(ReadSegmentNumber(framed.Show("57.38").Frame(margin).Image()), "57.38")
                << height << " " << margin;
        }
    }
}

TEST(SegmentMarks, AFrameIsHollowUntilACharacterRunsIntoIt) {
    PixPtr ink(pixCreate(120, 60, 1));
    const auto fill = [&](int x, int y, int w, int h) {
        pixRasterop(ink.get(), x, y, w, h, PIX_SET, nullptr, 0, 0);
    };
    fill(10, 10, 100, 2);
    fill(10, 48, 100, 2);
    fill(10, 10, 2, 40);
    fill(108, 10, 2, 40);
    fill(40, 20, 10, 20);  // a digit inside, apart from the frame
    const Mark frame{10, 10, 100, 40, 0};
    EXPECT_TRUE(IsHollowFrame(ink.get(), frame, 4));
    fill(96, 20, 12, 20);  // a digit run into the frame's side
    EXPECT_FALSE(IsHollowFrame(ink.get(), frame, 4));
}

TEST(SegmentDisplay, BlankAndNoisyPicturesGiveNothing) {
    EXPECT_EQ(ReadSegmentNumber(nullptr), std::nullopt);
    DrawnDisplay blank(30);
    EXPECT_EQ(ReadSegmentNumber(blank.Image()), std::nullopt);
    // Bars everywhere, in rows and columns: a pattern, not one line of digits.
    DrawnDisplay bars(30);
    Pix* noise = bars.Image();
    Box* box = boxCreate(0, 0, 0, 0);
    for (int y = 0; y + 4 < pixGetHeight(noise); y += 6) {
        for (int x = 0; x + 12 < pixGetWidth(noise); x += 14) {
            boxSetGeometry(box, x, y, (x / 14 + y / 6) % 2 ? 10 : 3, (x / 14 + y / 6) % 2 ? 3 : 10);
            pixSetInRectArbitrary(noise, box, 0);
        }
    }
    boxDestroy(&box);
    EXPECT_EQ(ReadSegmentNumber(noise), std::nullopt);
}

TEST(SegmentDisplay, ScreenColoursFramesAndCleanedImages) {
    for (Colours colours : {kYellowOnBlack, kRedOnWhite}) {
        DrawnDisplay display(30, colours);
        EXPECT_EQ(ReadSegmentNumber(display.Show("905.27").Image()), "905.27");
    }
    DrawnDisplay framed(30);
    EXPECT_EQ(ReadSegmentNumber(framed.Show("72.08").Frame(6).Image()), "72.08");

    test::ScopedWorkDir dir;
    DrawnDisplay small(20, kYellowOnBlack);
    ASSERT_EQ(pixWrite("cut.bmp", small.Show("48.60").Image(), IFF_BMP), 0);
    ASSERT_TRUE(CleanImageForRecognition("cut.bmp", "cut.jpg"));
    Pix* cleaned = pixRead("cut.jpg");
    ASSERT_NE(cleaned, nullptr);
    EXPECT_EQ(ReadSegmentNumber(cleaned), "48.60");
    pixDestroy(&cleaned);
}

TEST(SegmentDisplay, TheSegmentFontReadsWholeOrNotAtAll) {
    if (!HaveFont(kSegmentFont)) GTEST_SKIP() << "no seven-segment font installed";
    EXPECT_EQ(ReadQtImage(Rendered(QStringLiteral("\u00A51,280.50"), kSegmentFont, 40)),
              "1,280.50");
    EXPECT_EQ(
        ReadQtImage(Rendered(QStringLiteral("34.3"), kSegmentFont, 32, Qt::yellow, Qt::black)),
        "34.3");
    EXPECT_EQ(ReadQtImage(Rendered(QStringLiteral("1"), kSegmentFont, 40)), "1");
    // Without a bottom segment on the line, the point's foot stands below the verticals' ends.
    for (const QString& total : {QStringLiteral("\u00A514.4"), QStringLiteral("1.74")}) {
        EXPECT_EQ(ReadQtImage(Rendered(total, kSegmentFont, 48)), total.right(4).toStdString());
    }
    // Small totals lose the gaps between segments: read right or not at all.
    for (int size = 12; size <= 20; ++size) {
        const std::optional<std::string> read =
            ReadQtImage(Rendered(QStringLiteral("\u00A5105.13"), kSegmentFont, size));
        EXPECT_TRUE(!read || *read == "105.13") << size << " read as " << *read;
    }
    // A unit after the number is passed over.
    EXPECT_EQ(ReadQtImage(Rendered(QStringLiteral("18.30 \u5143"), kSegmentFont, 40)), "18.30");
}

TEST(SegmentDisplay, SmallDisplaysReadFromTheirDigitsOutlines) {
    // Drawn small and hard-edged, the face's segments are thin lines that meet: one outline
    // per digit, its lit sides telling the digit.
    if (!HaveFont(kSegmentFont)) GTEST_SKIP() << "no seven-segment font installed";
    int read = 0;
    for (int size = 14; size <= 30; size += 2) {
        for (const auto& [text, amount] :
             {std::pair{"\u00A5105.13", "105.13"}, std::pair{"3,680.79 \u5143", "3,680.79"}}) {
            const std::optional<std::string> number = ReadQtImage(
                Rendered(QString::fromUtf8(text), kSegmentFont, size, Qt::black, Qt::white, false));
            EXPECT_TRUE(!number || *number == amount) << size << " read as " << *number;
            read += number == amount;
        }
    }
    EXPECT_GE(read, 8);
    // A 3 or a 7 has no left segments: its outline ends where its bars do, narrower than the
    // others'.
    int open = 0;
    for (int size = 14; size <= 30; size += 2) {
        const std::optional<std::string> number = ReadQtImage(Rendered(
            QStringLiteral("\u00A535358.72"), kSegmentFont, size, Qt::black, Qt::white, false));
        EXPECT_TRUE(!number || *number == "35358.72") << size << " read as " << *number;
        open += number == "35358.72";
    }
    EXPECT_GE(open, 7);
    // On a line of 1s, 4s and 7s no bottom segment shows where the cells' foot is, and a point
    // seems to hang below it like a comma; a 4 has neither top nor bottom bar.
    int footless = 0;
    for (const auto& [text, amount] : {std::pair{"\u00A5147.74", "147.74"},
                                       std::pair{"47.14", "47.14"}, std::pair{"4.71", "4.71"}}) {
        for (bool antialias : {false, true}) {
            for (int size = 12; size <= 30; size += 2) {
                const std::optional<std::string> number = ReadQtImage(Rendered(
                    QString::fromUtf8(text), kSegmentFont, size, Qt::black, Qt::white, antialias));
                EXPECT_TRUE(!number || *number == amount) << size << " read as " << *number;
                footless += number == amount;
            }
        }
    }
    EXPECT_GE(footless, 32);
    // Drawn hard-edged, a point runs into its digit's foot; a 4 stands shorter than the row,
    // and a 4 passed over would leave "0.0" of "0.04".
    int joined = 0;
    for (const auto& [text, amount] : {std::pair{"0.04", "0.04"}, std::pair{"8.2", "8.2"},
                                       std::pair{"\u00A569,883.86", "69,883.86"}}) {
        for (bool antialias : {false, true}) {
            for (int size = 16; size <= 40; size += 3) {
                const std::optional<std::string> number =
                    ReadQtImage(Rendered(QString::fromUtf8(text), kSegmentFont, size, Qt::white,
                                         QColor(0, 60, 170), antialias));
                EXPECT_TRUE(!number || *number == amount) << size << " read as " << *number;
                joined += !antialias && number == amount;
            }
        }
    }
    EXPECT_GE(joined, 24);
    // A field's frame around an ordinary digit is an outline as well, with the digit inside.
    QImage framed(60, 60, QImage::Format_RGB32);
    framed.fill(Qt::white);
    QPainter painter(&framed);
    painter.setPen(Qt::black);
    painter.drawRect(8, 6, 40, 46);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    painter.setFont(font);
    painter.drawText(QRect(8, 6, 40, 46), Qt::AlignCenter, QStringLiteral("1"));
    painter.end();
    EXPECT_EQ(ReadQtImage(framed), std::nullopt);
}

TEST(SegmentDisplay, DisplaysWhoseSegmentsTouchRead) {
    // Faces whose segments meet at the corners: the binarised ink, not its dark core, shows them.
    const QString family = QStringLiteral("DSEG7 Modern Mini");
    if (!HaveFont(family)) GTEST_SKIP() << "no joined-segment font installed";
    for (int size : {24, 32, 40}) {
        const std::optional<std::string> read =
            ReadQtImage(Rendered(QStringLiteral("\u00A59.35"), family, size, Qt::yellow, Qt::black));
        EXPECT_TRUE(!read || *read == "9.35") << size << " read as " << *read;
    }
    EXPECT_EQ(ReadQtImage(Rendered(QStringLiteral("29"), family, 40)), "29");
}

TEST(SegmentDisplay, OrdinaryFontsAreNoDisplay) {
    // Round 8s drawn large are outlines of a display's 8 as well: read as such, they give the
    // amount shown, never another.
    const struct {
        QString text;
        std::optional<std::string> alsoRight;
    } texts[] = {{QStringLiteral("147.11"), std::nullopt},
                 {QStringLiteral("\u00A51"), std::nullopt},
                 {QStringLiteral("88.88"), "88.88"},
                 {QStringLiteral("1"), std::nullopt},
                 {QStringLiteral("\u65E5\u53E3 7.4"), std::nullopt},
                 {QStringLiteral("2734.88"), std::nullopt},
                 {QStringLiteral("343.0"), std::nullopt}};
    for (const char* family : {"DejaVu Sans", "DejaVu Sans Mono", "AR PL UMing CN", "FreeMono"}) {
        if (!HaveFont(QString::fromUtf8(family))) continue;
        for (const auto& [text, alsoRight] : texts) {
            for (int size : {14, 24, 40}) {
                for (const bool light : {false, true}) {
                    const QImage image = light ? Rendered(text, QString::fromUtf8(family), size,
                                                          Qt::white, QColor(0, 60, 170))
                                               : Rendered(text, QString::fromUtf8(family), size);
                    const std::optional<std::string> read = ReadQtImage(image);
                    EXPECT_TRUE(!read || read == alsoRight)
                        << family << " " << text.toStdString() << " " << size
                        << (light ? " light" : "") << " read as " << *read;
                }
            }
        }
    }
}

TEST(SegmentDisplay, TheReaderAnswersBeforeTheRecogniser) {
    if (!HaveFont(kSegmentFont)) GTEST_SKIP() << "no seven-segment font installed";
    test::ScopedWorkDir dir;
    // No recognition data: only the segment reader can answer.
    const char* data = std::getenv("TESSDATA_PREFIX");
    const std::string kept = data ? data : "";
    setenv("TESSDATA_PREFIX", dir.Path().c_str(), 1);
    for (int size : {24, 36}) {
        // The cleaning would close the gaps between small segments; the display is written
        // as its reader sees it.
        for (bool preprocess : {false, true}) {
            RemoveWorkFiles();
            ASSERT_TRUE(
                Rendered(QStringLiteral("\u00A51,280.50"), kSegmentFont, size, Qt::red, Qt::white)
                    .save(QStringLiteral("cut.bmp"), "BMP"));
            const ChainResult result = ReadAmountFromImage("cut.bmp", preprocess, u"");
            EXPECT_EQ(result.outcome, ChainOutcome::Read);
            EXPECT_EQ(result.amount, u"1280.50") << size << (preprocess ? " cleaned" : " raw");
        }
    }
    if (data) {
        setenv("TESSDATA_PREFIX", kept.c_str(), 1);
    } else {
        unsetenv("TESSDATA_PREFIX");
    }
}

}  // namespace
}  // namespace zelvo
