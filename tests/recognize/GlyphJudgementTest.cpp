#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>

#include "recognize/GlyphJudgement.h"
#include "recognize/GlyphPicture.h"
#include "recognize/ImageCleaning.h"
#include "recognize/LeptonicaHandles.h"
#include "recognize/ViewAgreement.h"
#include "tests/recognize/DrawnCharacters.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

constexpr int kCell = 60;

// The ink of a line of characters, each drawn large and hard-edged in a cell of its own.
class DrawnLine : public testing::Test {
protected:
    // `softening` > 1 draws the line as seen through that much scaling: a display's segment
    // gaps closed, a text face's strokes blurred.
    void Draw(const QString& characters, const QString& family = QStringLiteral("DejaVu Sans"),
              int softening = 1) {
        QImage image = test::DrawnInCells(characters, family, 48, kCell, 80);
        if (softening > 1) {
            image = image
                        .scaled(image.width() / softening, image.height() / softening,
                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .scaled(image.width(), image.height(), Qt::IgnoreAspectRatio,
                                Qt::SmoothTransformation);
        }
        Use(image);
    }

    // Characters drawn a little closer than the face sets them and blurred, so that some run
    // into one blot; the glyphs.
    std::vector<Glyph> DrawBlurredAndTight(const QString& characters) {
        QImage image(kCell * 5, 80, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(48);
        font.setStyleStrategy(QFont::NoAntialias);
        font.setLetterSpacing(QFont::AbsoluteSpacing, -4);
        painter.setFont(font);
        painter.drawText(4, 60, characters);
        painter.end();
        constexpr int kSoftening = 4;
        Use(image
                .scaled(image.width() / kSoftening, image.height() / kSoftening,
                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .scaled(image.width(), image.height(), Qt::IgnoreAspectRatio,
                        Qt::SmoothTransformation));
        return GlyphsBetween(m_ink.get(), 0, image.width());
    }

    // Characters drawn so close that their glyphs run into one, or with their feet joined as
    // blur joins them; where the first ends.
    int DrawTouching(const QString& characters, bool feetJoined = false) {
        QImage image(kCell * std::max<int>(3, characters.size()), 80, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(48);
        font.setStyleStrategy(QFont::NoAntialias);
        font.setLetterSpacing(QFont::AbsoluteSpacing, feetJoined ? 0 : -8);
        painter.setFont(font);
        painter.drawText(4, 60, characters);
        if (feetJoined) {
            painter.fillRect(4, 56, QFontMetrics(font).horizontalAdvance(characters), 5, Qt::black);
        }
        painter.end();
        Use(image);
        return 4 + QFontMetrics(font).horizontalAdvance(characters.left(1));
    }

    void Use(const QImage& image) {
        ASSERT_TRUE(image.save(QStringLiteral("line.png")));
        PixPtr read(pixRead("line.png"));
        ASSERT_TRUE(read);
        m_ink = DarkInk(read.get());
        ASSERT_TRUE(m_ink);
    }

    // What the recogniser read in cells [first, last], boxed as tall as a digit.
    static Symbol Read(const std::string& text, int first, int last = -1) {
        Symbol symbol;
        symbol.text = text;
        symbol.left = first * kCell + 4;
        symbol.right = (last < 0 ? first : last) * kCell + kCell - 4;
        symbol.top = 20;
        symbol.bottom = 60;
        symbol.startsWord = first == 0;
        return symbol;
    }
    // A symbol boxed at pixels [left, right), inside a word.
    static Symbol Boxed(Symbol symbol, int left, int right) {
        symbol.left = left;
        symbol.right = right;
        symbol.startsWord = false;
        return symbol;
    }
    static Symbol Doubt(int cell, const std::string& candidates, bool maybeSign = false) {
        Symbol symbol = Read("?", cell);
        symbol.candidates = candidates;
        symbol.maybeSign = maybeSign;
        return symbol;
    }

    std::vector<Symbol> Judged(std::vector<Symbol> symbols) {
        return JudgeByGlyphs(std::move(symbols), m_ink.get(), BuiltInGlyphTemplates()).symbols;
    }
    static std::string Text(const std::vector<Symbol>& symbols) { return LineText(symbols); }

    test::ScopedWorkDir m_dir;
    PixPtr m_ink;
};

TEST_F(DrawnLine, ASureDigitTheGlyphDeniesBecomesADoubtBetweenTheTwo) {
    Draw(QStringLiteral("38"));
    const std::vector<Symbol> judged = Judged({Read("3", 0), Read("3", 1)});
    EXPECT_EQ(Text(judged), "3?");
    EXPECT_EQ(judged[1].candidates, "38");
    EXPECT_FALSE(judged[1].maybeSign);
}

TEST_F(DrawnLine, ADoubtfulDigitIsSettledOnlyAsOneOfItsCandidates) {
    Draw(QStringLiteral("86"));
    EXPECT_EQ(Text(Judged({Doubt(0, "38"), Doubt(1, "")})), "86");
    // The glyph is an 8, but the recogniser hesitated between 3 and 5: nothing is settled.
    EXPECT_EQ(Text(Judged({Doubt(0, "35"), Read("6", 1)})), "?6");
}

TEST_F(DrawnLine, ADigitTakenForTheSignIsNeverTheSignAgain) {
    Draw(QStringLiteral("525"));
    std::vector<Symbol> read = {Read("\u00A5", 0), Read("2", 1), Read("5", 2)};
    read[1].startsWord = true;
    const std::vector<Symbol> judged = Judged(read);
    EXPECT_EQ(Text(judged), "? 25");
    EXPECT_EQ(judged[0].candidates, "5");
    EXPECT_FALSE(judged[0].maybeSign);
    // A doubt between the sign and a digit that shows the digit may no longer become the sign.
    const std::vector<Symbol> doubt = Judged({Doubt(0, "", true), Read("2", 1), Read("5", 2)});
    EXPECT_EQ(Text(doubt), "525");
}

TEST_F(DrawnLine, TheSignStaysTheSign) {
    Draw(QStringLiteral("\u00A57"));
    EXPECT_EQ(Text(Judged({Read("\u00A5", 0), Read("7", 1)})), "\u00A57");
    EXPECT_EQ(Text(Judged({Doubt(0, "4", true), Read("7", 1)})), "\u00A57");
    // A serif sign, blurred, which they name the sign but not surely: read as a doubt between
    // digits, it stays a doubt, and a view that reads a digit there does not settle it.
    Draw(QStringLiteral("\u00A501"), QStringLiteral("Liberation Serif"), 5);
    const std::vector<Symbol> judged = Judged({Doubt(0, "849"), Read("0", 1), Read("1", 2)});
    ASSERT_EQ(judged.size(), 3u);
    EXPECT_EQ(judged[0].text, "?");
    ViewVotes votes(judged);
    EXPECT_TRUE(votes.Add({Read("8", 0), Read("0", 1), Read("1", 2)}, 1.0f));
    EXPECT_EQ(Text(votes.Settled()), "?01");
}

TEST_F(DrawnLine, AnUnreadSignRunIntoTheFirstDigitIsSetApart) {
    Draw(QStringLiteral("\u00A596"));
    // One doubtful symbol over the sign and the 9.
    Symbol both = Doubt(0, "9", false);
    both.right = 2 * kCell - 4;
    const std::vector<Symbol> judged = Judged({both, Read("6", 2)});
    ASSERT_EQ(judged.size(), 3u);
    EXPECT_EQ(judged[0].text, "\u00A5");
    EXPECT_EQ(judged[1].text, "9");
    EXPECT_TRUE(judged[0].startsWord);
    EXPECT_FALSE(judged[1].startsWord);
    EXPECT_LT(judged[0].right, judged[1].left);
    // When the recogniser hesitated between other digits, the two stay one doubt.
    Symbol across = Doubt(0, "38", false);
    across.right = 2 * kCell - 4;
    EXPECT_EQ(Text(Judged({across, Read("6", 2)})), "?6");
    // A sure digit read over the sign and itself is set apart the same way; read as another
    // digit, it is a doubt no view settles.
    EXPECT_EQ(Text(Judged({Read("9", 0, 1), Read("6", 2)})), "\u00A596");
    const std::vector<Symbol> other = Judged({Read("3", 0, 1), Read("6", 2)});
    EXPECT_EQ(Text(other), "?6");
    EXPECT_TRUE(other[0].withoutGlyph);
}

TEST_F(DrawnLine, SevenSegmentDigitsAreKnownForWhatTheyAre) {
    // The bench's seven-segment face, which the templates were not drawn from.
    const std::vector<Symbol> read = {Read("1", 0), Read("2", 1), Read("0", 2), Read("4", 3)};
    Draw(QStringLiteral("1204"), QStringLiteral("DSEG7 Classic"), 3);
    EXPECT_TRUE(JudgeByGlyphs(read, m_ink.get(), BuiltInGlyphTemplates()).segmentDigits);
    Draw(QStringLiteral("1204"), QStringLiteral("DejaVu Sans"), 3);
    EXPECT_FALSE(JudgeByGlyphs(read, m_ink.get(), BuiltInGlyphTemplates()).segmentDigits);
    Draw(QStringLiteral("1204"), QStringLiteral("Liberation Mono"));
    EXPECT_FALSE(JudgeByGlyphs(read, m_ink.get(), BuiltInGlyphTemplates()).segmentDigits);
    // A display's 1 is two bars, one over the other, neither a glyph alone beside its 0 (read
    // here as a character of the label).
    QImage display(kCell * 2, 80, QImage::Format_RGB32);
    display.fill(Qt::white);
    QPainter painter(&display);
    painter.setPen(QPen(Qt::black, 6));
    painter.drawRect(14, 10, 30, 60);
    painter.fillRect(kCell + 30, 8, 6, 29, Qt::black);
    painter.fillRect(kCell + 30, 43, 6, 29, Qt::black);
    painter.end();
    Use(display);
    const std::vector<Symbol> tenOnADisplay = {Read("\u53E3", 0), Read("1", 1)};
    EXPECT_TRUE(JudgeByGlyphs(tenOnADisplay, m_ink.get(), BuiltInGlyphTemplates()).segmentDigits);
}

TEST_F(DrawnLine, BlurredTextBarelyLikeASegmentFaceIsADisplayOnlyWithoutItsPoint) {
    // Bold text blurred so much that its 6 looks a little more like a display's than a text
    // face's: a display's point joins its digit's foot and goes unread, a text's point does not.
    Draw(QStringLiteral("6.6"), QStringLiteral("DejaVu Sans Bold"), 7);
    const std::vector<Symbol> withPoint = {Read("6", 0), Read(".", 1), Read("6", 2)};
    EXPECT_FALSE(JudgeByGlyphs(withPoint, m_ink.get(), BuiltInGlyphTemplates()).segmentDigits);
    const std::vector<Symbol> withoutPoint = {Read("6", 0), Read("6", 2)};
    EXPECT_TRUE(JudgeByGlyphs(withoutPoint, m_ink.get(), BuiltInGlyphTemplates()).segmentDigits);
    // A display's digits, clearly its face's, stay a display's, point read or not.
    Draw(QStringLiteral("4.2"), QStringLiteral("DSEG7 Classic"), 3);
    const std::vector<Symbol> display = {Read("4", 0), Read(".", 1), Read("2", 2)};
    EXPECT_TRUE(JudgeByGlyphs(display, m_ink.get(), BuiltInGlyphTemplates()).segmentDigits);
}

TEST_F(DrawnLine, ADigitReadOnABlotOfSeveralCharactersIsADoubtNoViewSettles) {
    // Small blurred text run into one blot, "50.4", and read as one "4" over all of it.
    DrawTouching(QStringLiteral("50.4"), true);
    ASSERT_EQ(GlyphsBetween(m_ink.get(), 0, 4 * kCell).size(), 1u);
    const std::vector<Symbol> judged = Judged({Read("4", 0, 3)});
    ASSERT_EQ(judged.size(), 1u);
    EXPECT_TRUE(judged[0].withoutGlyph);
}

TEST_F(DrawnLine, ASignRunIntoTheFirstDigitIsNoDigitBeforeTheNumber) {
    // "¥0.1" blurred so that the sign and the 0 are one blot, which the templates name a 4:
    // settled so, it would make the amount 40.1.
    const std::vector<Glyph> glyphs = DrawBlurredAndTight(QStringLiteral("\u00A50.1"));
    ASSERT_EQ(glyphs.size(), 2u);
    const GlyphArea blot = glyphs[0].area;
    const GlyphArea one = glyphs[1].area;
    // The recogniser's boxes part the blot past its middle.
    const int middle = blot.x + blot.w * 3 / 5;
    const Symbol point = Boxed(Read(".", 1), blot.x + blot.w + 2, one.x - 2);
    const Symbol digit = Boxed(Read("1", 1), one.x, one.x + one.w);
    // A doubt on the sign's part, as the recogniser read it, and another on the 0's.
    const std::vector<Symbol> doubts =
        Judged({Boxed(Doubt(0, "4"), blot.x, middle),
                Boxed(Doubt(0, "06"), middle, blot.x + blot.w), point, digit});
    ASSERT_EQ(doubts.size(), 4u);
    EXPECT_TRUE(doubts[0].withoutGlyph) << Text(doubts);
}

TEST_F(DrawnLine, InsideTheNumberABlotOfTwoCharactersSettlesNoDoubt) {
    // The same blot after a digit: characters run together, which the templates name a 4 that
    // is neither of them.
    const std::vector<Glyph> glyphs = DrawBlurredAndTight(QStringLiteral("7 \u00A50.1"));
    ASSERT_EQ(glyphs.size(), 3u);
    const GlyphArea seven = glyphs[0].area;
    const GlyphArea blot = glyphs[1].area;
    const GlyphArea one = glyphs[2].area;
    const std::vector<Symbol> judged = Judged({Boxed(Read("7", 0), seven.x, seven.x + seven.w),
                                               Boxed(Doubt(0, "4"), blot.x, blot.x + blot.w),
                                               Boxed(Read(".", 1), blot.x + blot.w + 2, one.x - 2),
                                               Boxed(Read("1", 1), one.x, one.x + one.w)});
    EXPECT_EQ(Text(judged), "7?.1");
}

TEST_F(DrawnLine, ADigitWithAPointRunIntoItsFootIsADoubtNoViewSettles) {
    // "3.1" with the point run into the 3's foot, read as 31: ten times the amount.
    Draw(QStringLiteral("31"));
    const std::vector<Glyph> three = GlyphsBetween(m_ink.get(), 0, kCell);
    ASSERT_EQ(three.size(), 1u);
    const GlyphArea& area = three[0].area;
    QImage image =
        test::DrawnInCells(QStringLiteral("31"), QStringLiteral("DejaVu Sans"), 48, kCell, 80);
    QPainter(&image).fillRect(area.x + area.w - 2, area.y + area.h - 6, 8, 6, Qt::black);
    Use(image);
    const std::vector<Symbol> judged = Judged({Read("3", 0), Read("1", 1)});
    ASSERT_EQ(judged.size(), 2u);
    EXPECT_TRUE(judged[0].withoutGlyph);
    // Read with its point, the number is as long as it should be.
    EXPECT_EQ(Text(Judged({Read("3", 0), Read(".", 1), Read("1", 1)})), "3.1");
    // Digits whose feet or bars stick out to the right are no digits with a point.
    for (const char* family : {"DejaVu Sans", "DejaVu Serif", "Liberation Serif", "FreeSerif"}) {
        const std::string all = "1234567890";
        Draw(QString::fromStdString(all), QString::fromUtf8(family));
        std::vector<Symbol> digits;
        for (size_t cell = 0; cell < all.size(); ++cell) {
            digits.push_back(Read(all.substr(cell, 1), static_cast<int>(cell)));
        }
        EXPECT_EQ(Text(Judged(digits)), all) << family;
    }
}

TEST_F(DrawnLine, SeparatorsReadAsTheOtherKindAreWhatTheirPlaceMakesThem) {
    // Small text's point is often read as a comma: "447,95" would be no amount.
    Draw(QStringLiteral("447.95"));
    const auto read = [](const std::string& separator) {
        return std::vector<Symbol>{Read("4", 0),       Read("4", 1), Read("7", 2),
                                   Read(separator, 3), Read("9", 4), Read("5", 5)};
    };
    EXPECT_EQ(Text(Judged(read(","))), "447.95");
    EXPECT_EQ(Text(Judged(read("."))), "447.95");
    // A comma's tail reaches below the digits' foot: it stays what it is.
    Draw(QStringLiteral("447,95"));
    EXPECT_EQ(Text(Judged(read(","))), "447,95");
    // Before three digits, or beside another separator, it is no decimal point.
    Draw(QStringLiteral("4.795"));
    EXPECT_EQ(Text(Judged({Read("4", 0), Read(",", 1), Read("7", 2), Read("9", 3), Read("5", 4)})),
              "4,795");
    Draw(QStringLiteral("1.4.95"));
    EXPECT_EQ(Text(Judged({Read("1", 0), Read(",", 1), Read("4", 2), Read(".", 3), Read("9", 4),
                           Read("5", 5)})),
              "1,4.95");
    // Small text's thousands separator is read as a point too: before three digits and the
    // line's point it is the separator ("2.569.4"). Before three digits and the end it stays
    // a point, and the line no amount: a digit read too many would make it a thousand times
    // larger.
    Draw(QStringLiteral("2,569.4"));
    EXPECT_EQ(Text(Judged({Read("2", 0), Read(".", 1), Read("5", 2), Read("6", 3), Read("9", 4),
                           Read(".", 5), Read("4", 6)})),
              "2,569.4");
    Draw(QStringLiteral("1,614"));
    EXPECT_EQ(Text(Judged({Read("1", 0), Read(".", 1), Read("6", 2), Read("1", 3), Read("4", 4)})),
              "1.614");
}

TEST_F(DrawnLine, ALabelReadAsOneDigitBeforeTheSignIsPassedOver) {
    // "金额" read as one "3": a box as wide as two characters, before the label's colon and the
    // sign. Left in, the line would hold two numbers and give no amount.
    const auto line = [](Symbol first, int from) {
        std::vector<Symbol> symbols = {first};
        for (const char* text : {":", "\u00A5", "5", "6", ".", "5", "1"}) {
            symbols.push_back(Read(text, from++));
        }
        return symbols;
    };
    Draw(QStringLiteral("\u91D1\u989D:\u00A556.51"));
    EXPECT_EQ(Text(Judged(line(Read("3", 0, 1), 2))), ":\u00A556.51");
    // A digit's own box is kept, whatever stands after it.
    Draw(QStringLiteral("3:\u00A556.51"));
    EXPECT_EQ(Text(Judged(line(Read("3", 0), 1))), "3:\u00A556.51");
}

TEST_F(DrawnLine, ADigitBarelyLikeItselfIsInDoubt) {
    Draw(QStringLiteral("3"));
    const std::vector<Glyph> glyphs = GlyphsBetween(m_ink.get(), 0, kCell);
    ASSERT_EQ(glyphs.size(), 1u);
    const GlyphPicture picture = PictureOfGlyph(glyphs[0].pix.get());
    // Templates a little and a little more off the glyph: a near tie between 3 and 5.
    const auto off = [&](char label, int by) {
        GlyphTemplate known{label, false, picture};
        for (size_t i = 0; i < known.picture.size(); i += 2) {
            known.picture[i] = static_cast<std::uint8_t>(std::min(255, known.picture[i] + by));
        }
        return known;
    };
    const std::vector<Symbol> near =
        JudgeByGlyphs({Read("3", 0)}, m_ink.get(), {off('3', 40), off('5', 41)}).symbols;
    EXPECT_EQ(Text(near), "?");
    EXPECT_EQ(near[0].candidates, "35");
    const std::vector<Symbol> clear =
        JudgeByGlyphs({Read("3", 0)}, m_ink.get(), {off('3', 10), off('5', 60)}).symbols;
    EXPECT_EQ(Text(clear), "3");
}

TEST_F(DrawnLine, ASymbolWithoutAGlyphOfItsOwnIsADoubtNoViewSettles) {
    // A full-width colon read as a 1 before the amount: two dots, no glyph. It is the label's
    // colon, a word of its own.
    Draw(QStringLiteral("\uFF1A2"));
    const std::vector<Symbol> label = Judged({Read("1", 0), Read("2", 1)});
    EXPECT_EQ(Text(label), ": 2");
    // After a digit, it may part two numbers, or be a digit the recogniser misplaced.
    Draw(QStringLiteral("3\uFF1A2"));
    const std::vector<Symbol> colon = Judged({Read("3", 0), Read("1", 1), Read("2", 2)});
    EXPECT_EQ(Text(colon), "3?2");
    EXPECT_TRUE(colon[1].withoutGlyph);
    ViewVotes votes(colon);
    std::vector<Symbol> view = {Read("3", 0), Read("1", 1), Read("2", 2)};
    EXPECT_TRUE(votes.Add(view, 1.0f));
    EXPECT_EQ(Text(votes.Settled()), "3?2");

    // Two symbols on one glyph: the recogniser read a glyph that is not there ("445" for "145").
    Draw(QStringLiteral("45"));
    Symbol loose = Read("4", 0);
    loose.right = kCell + 10;  // reaching into the 5's cell
    Symbol onFour = Read("4", 0);
    onFour.left = 20;
    onFour.startsWord = false;
    const std::vector<Symbol> twice = Judged({loose, onFour, Read("5", 1)});
    EXPECT_EQ(Text(twice), "??5");

    // The point of "1.1" read once as the point and once more as a 1, on a box no taller
    // than the point.
    Draw(QStringLiteral("1.1"));
    std::vector<Symbol> pointTwice = {Read("1", 0), Read(".", 1), Read("1", 1), Read("1", 2)};
    pointTwice[2].top = 52;
    pointTwice[2].bottom = 60;
    const std::vector<Symbol> speck = Judged(pointTwice);
    EXPECT_EQ(Text(speck), "1.?1");
    EXPECT_TRUE(speck[2].withoutGlyph);

    // A doubt boxed a sliver wide at the edge of the 0 of "20", where the recogniser read a
    // colon's dots beside "0.29" as a 1: another view would settle it as that 1.
    Draw(QStringLiteral("20"));
    Symbol edge = Doubt(1, "135");
    edge.right = edge.left + 2;
    const std::vector<Symbol> sliver = Judged({Read("2", 0), edge, Read("0", 1)});
    ASSERT_EQ(sliver.size(), 3u);
    EXPECT_TRUE(sliver[1].withoutGlyph);
    EXPECT_EQ(sliver[1].candidates, "");

    // A full-width sign read as a doubt and a 6 on its right half ("657.03" for "￥57.03").
    Draw(QStringLiteral("\uFFE55"), QStringLiteral("AR PL UMing CN"));
    Symbol leftHalf = Doubt(0, "4359");
    leftHalf.right = kCell / 2 + 6;
    Symbol rightHalf = Read("6", 0);
    rightHalf.left = kCell / 2 + 6;
    rightHalf.startsWord = false;
    const std::vector<Symbol> halves = Judged({leftHalf, rightHalf, Read("5", 1)});
    ASSERT_EQ(halves.size(), 3u);
    EXPECT_EQ(halves[1].text, "?");
    EXPECT_TRUE(halves[1].withoutGlyph);
}

TEST_F(DrawnLine, DigitsRunIntoOneGlyphAreEachJudgedOnTheirOwnPart) {
    // The recogniser's boxes: the second starts where the first does, the first ends where
    // its digit does.
    const auto readTwice = [](int parting, const std::string& first, const std::string& second) {
        Symbol left = Read(first, 0);
        left.left = 0;
        left.right = parting;
        Symbol right = Read(second, 1);
        right.left = 0;
        right.right = 2 * kCell;
        return std::vector<Symbol>{left, right};
    };
    int parting = DrawTouching(QStringLiteral("44"));
    EXPECT_EQ(Text(Judged(readTwice(parting, "4", "4"))), "44");
    // A part that is another digit than the one read there leaves it a doubt no view settles.
    parting = DrawTouching(QStringLiteral("47"));
    const std::vector<Symbol> judged = Judged(readTwice(parting, "4", "4"));
    EXPECT_EQ(Text(judged), "4?");
    EXPECT_TRUE(judged[1].withoutGlyph);
    // A doubt whose box holds only the left part of the glyph, its digit read over all of it
    // ("511.?9" for "511.09" blurred into one glyph): no view may settle that doubt.
    parting = DrawTouching(QStringLiteral("09"));
    Symbol doubt = Doubt(0, "608");
    doubt.left = 0;
    doubt.right = parting - 8;
    Symbol nine = Read("9", 0, 1);
    nine.left = 0;
    const std::vector<Symbol> joined = Judged({doubt, nine});
    ASSERT_EQ(joined.size(), 2u);
    EXPECT_TRUE(joined[0].withoutGlyph);
    // Nor may a view that parts the glyph explain the line where the digit read over all of it
    // is in doubt as well ("511.69" read in smaller views for "511.?9"). Under a sure digit's
    // box the doubt is that glyph read twice, and counts as that digit.
    Symbol six = Read("6", 0);
    six.left = 0;
    six.right = parting;
    Symbol nineAlone = Read("9", 1);
    nineAlone.left = parting;
    EXPECT_TRUE(ViewDigitsFitTheLine(joined, {six, nineAlone}));
    Symbol nineInDoubt = nine;
    nineInDoubt.text = "?";
    nineInDoubt.candidates = "94";
    EXPECT_FALSE(ViewDigitsFitTheLine({joined[0], nineInDoubt}, {six, nineAlone}));
}

TEST_F(DrawnLine, AViewIsHeldAgainstTheLinesBoxesStartedAfterTheOnesBefore) {
    // "14821.98": the line boxed its doubt between 6 and 8 from where the 4 starts; a view read
    // the 4 and the 8 each on its own glyph.
    Draw(QStringLiteral("48"));
    Symbol fromTheFour = Doubt(1, "68");
    fromTheFour.left = Read("4", 0).left;
    fromTheFour.right = 2 * kCell - 12;
    fromTheFour.startsWord = false;
    const std::vector<Symbol> line = {Read("4", 0), fromTheFour};
    PixPtr image(pixRead("line.png"));
    ASSERT_TRUE(image);
    EXPECT_TRUE(ViewExplainsTheLine({Read("4", 0), Read("8", 1)}, line, image.get(), m_ink.get()));
    EXPECT_FALSE(ViewExplainsTheLine({Read("4", 0), Read("5", 1)}, line, image.get(), m_ink.get()));
}

TEST_F(DrawnLine, AViewsDigitOverTwoGlyphsIsTwoCharactersButOneReachingIntoTheNextIsNot) {
    Draw(QStringLiteral("17"));
    PixPtr image(pixRead("line.png"));
    ASSERT_TRUE(image);
    Symbol bothInDoubt = Doubt(0, "");
    bothInDoubt.right = Read("7", 1).right;
    EXPECT_FALSE(ViewExplainsTheLine({Read("7", 0, 1)}, {bothInDoubt}, image.get(), m_ink.get()));
    // A view's 1 whose box, scaled back, ends a few pixels into the 7's glyph.
    Symbol reaching = Read("1", 0);
    reaching.right = kCell + kCell / 2 - 8;
    Symbol seven = Read("7", 1);
    seven.left = reaching.right;
    const std::vector<Symbol> line = {Read("1", 0), Read("7", 1)};
    EXPECT_TRUE(ViewExplainsTheLine({reaching, seven}, line, image.get(), m_ink.get()));
}

TEST_F(DrawnLine, OneGlyphTheLineReadTwiceIsOneCharacter) {
    Draw(QStringLiteral("605"));
    PixPtr image(pixRead("line.png"));
    ASSERT_TRUE(image);
    Symbol leftHalf = Read("0", 1);
    Symbol rightHalf = leftHalf;
    leftHalf.right = rightHalf.left = kCell + kCell / 2;
    const std::vector<Symbol> view = {Read("6", 0), Read("0", 1), Read("5", 2)};
    EXPECT_TRUE(ViewExplainsTheLine(view, {Read("6", 0), leftHalf, rightHalf, Read("5", 2)},
                                    image.get(), m_ink.get()));
    // The line itself is in doubt: it would hold the digit twice.
    EXPECT_TRUE(ReadsAGlyphTwice({Read("6", 0), leftHalf, rightHalf, Read("5", 2)}, m_ink.get()));
    EXPECT_FALSE(ReadsAGlyphTwice(view, m_ink.get()));
    // The same digit beside a doubt that names it, or beside a letter; here the digit's box
    // reaches well past its glyph into the gap, wider than a digit, the glyph itself not.
    Symbol doubtHalf = leftHalf;
    doubtHalf.text = "?";
    doubtHalf.candidates = "90";
    EXPECT_TRUE(ViewExplainsTheLine(view, {Read("6", 0), doubtHalf, rightHalf, Read("5", 2)},
                                    image.get(), m_ink.get()));
    Symbol reaching = rightHalf;
    reaching.right += 17;
    Symbol letter = Read("Q", 1);
    EXPECT_TRUE(ViewExplainsTheLine(view, {Read("6", 0), letter, reaching, Read("5", 2)},
                                    image.get(), m_ink.get()));
    // The doubt's box may reach a pixel or two into the glyph before.
    Symbol fromTheSix = doubtHalf;
    const std::vector<ColumnSpan> six = InkColumnSpans(m_ink.get(), 0, kCell, 0, 80, 1);
    ASSERT_EQ(six.size(), 1u);
    fromTheSix.left = six[0].right - 2;
    EXPECT_TRUE(ViewExplainsTheLine(view, {Read("6", 0), fromTheSix, rightHalf, Read("5", 2)},
                                    image.get(), m_ink.get()));
    // A doubt that rules the digit out is another reading of the glyph, which the view's one
    // digit does not settle.
    doubtHalf.candidates = "38";
    EXPECT_FALSE(ViewExplainsTheLine(view, {Read("6", 0), doubtHalf, rightHalf, Read("5", 2)},
                                     image.get(), m_ink.get()));
    // Two zeros, each on a glyph of its own, stay two.
    Draw(QStringLiteral("6005"));
    image.reset(pixRead("line.png"));
    ASSERT_TRUE(image);
    EXPECT_FALSE(ViewExplainsTheLine({Read("6", 0), Read("0", 1, 2), Read("5", 3)},
                                     {Read("6", 0), Read("0", 1), Read("0", 2), Read("5", 3)},
                                     image.get(), m_ink.get()));
    // So do two zeros drawn so close that their glyphs run into one, as wide as two digits.
    const int firstEnds = DrawTouching(QStringLiteral("00"));
    image.reset(pixRead("line.png"));
    ASSERT_TRUE(image);
    Symbol first = Read("0", 0);
    first.right = firstEnds;
    Symbol second = Read("0", 1);
    second.left = firstEnds;
    second.right = 2 * firstEnds - first.left;
    Symbol once = first;
    once.right = second.right;
    EXPECT_FALSE(ViewExplainsTheLine({once}, {first, second}, image.get(), m_ink.get()));
}

TEST_F(DrawnLine, ASureDigitOverSeveralDigitSizedGlyphsIsADoubtNoViewSettles) {
    // Small italics run together: "69.6" read as one "6" over all of it.
    Draw(QStringLiteral("696"));
    Symbol whole = Read("6", 0, 2);
    whole.top = 20;  // the recogniser's box is tight around the ink
    whole.bottom = 58;
    const std::vector<Symbol> alone = Judged({whole});
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_TRUE(alone[0].withoutGlyph);
    // Beside sure digits, the glyphs are measured against their row.
    Draw(QStringLiteral("125"));
    EXPECT_EQ(Text(Judged({Read("1", 0), Read("2", 1, 2)})), "1?");
    EXPECT_EQ(Text(Judged({Read("1", 0), Read("2", 1), Read("5", 2)})), "125");
}

TEST_F(DrawnLine, InkColumnsApartByAGapCountAsTwo) {
    Draw(QStringLiteral("15"));
    EXPECT_EQ(InkColumnRuns(m_ink.get(), 0, 2 * kCell, 0, 80, 4), 2);
    EXPECT_EQ(InkColumnRuns(m_ink.get(), 0, kCell, 0, 80, 4), 1);
    // A gap narrower than asked for joins the two.
    EXPECT_EQ(InkColumnRuns(m_ink.get(), 0, 2 * kCell, 0, 80, kCell), 1);
    // Outside the image, nothing.
    EXPECT_EQ(InkColumnRuns(m_ink.get(), -50, 0, 0, 80, 4), 0);
}

TEST_F(DrawnLine, ADoubtOverSeveralGlyphsIsADoubtNoViewSettles) {
    // "3.4" read as one doubtful symbol: a view reading "4" there would drop the 3.
    Draw(QStringLiteral("34"));
    Symbol both = Doubt(0, "4");
    both.right = 2 * kCell - 4;
    const std::vector<Symbol> judged = Judged({both});
    ASSERT_EQ(judged.size(), 1u);
    EXPECT_TRUE(judged[0].withoutGlyph);
    ViewVotes votes(judged);
    EXPECT_TRUE(votes.Add({Read("4", 0, 1)}, 0.8f));
    EXPECT_EQ(Text(votes.Settled()), "?");
}

TEST_F(DrawnLine, ASignReadOnADigitRunIntoTheNextIsADoubt) {
    // The 5 of "58" run into the 8 and read as "$"; the box of the "8" spans the whole glyph.
    const auto joined = [&](const QString& characters) {
        Draw(characters);
        pixRasterop(m_ink.get(), kCell - 24, 44, 48, 6, PIX_SET, nullptr, 0, 0);
    };
    joined(QStringLiteral("58"));
    Symbol sign = Read("$", 0);
    sign.right = kCell - 14;
    const std::vector<Symbol> digit = Judged({sign, Read("8", 0, 1)});
    EXPECT_EQ(digit[0].text, "?");
    EXPECT_TRUE(digit[0].withoutGlyph);
    // A sign run into the first digit stays the sign.
    joined(QStringLiteral("\u00A50"));
    Symbol yen = Read("\u00A5", 0);
    yen.right = kCell - 14;
    EXPECT_EQ(Judged({yen, Read("0", 0, 1)})[0].text, "\u00A5");
}

TEST_F(DrawnLine, ACharacterBesideTheNumberHoldingADigitLeavesItInDoubt) {
    // "到" read over the 3 of "38": the amount would lose its first digit.
    Draw(QStringLiteral("38"));
    EXPECT_EQ(Text(Judged({Read("\u5230", 0), Read("8", 1)})), "?8");
    // A unit after the number is no digit.
    Draw(QStringLiteral("8\u5143"));
    EXPECT_EQ(Text(Judged({Read("8", 0), Read("\u5143", 1)})), "8\u5143");
}

TEST_F(DrawnLine, AMarkReadInsideTheNumberIsTheDigitItsGlyphShows) {
    Draw(QStringLiteral("17.3"));
    EXPECT_EQ(Text(Judged({Read("1", 0), Read("/", 1), Read(".", 2), Read("3", 3)})), "17.3");
    Draw(QStringLiteral("0.2"));
    EXPECT_EQ(Text(Judged({Read("@", 0), Read(".", 1), Read("2", 2)})), "0.2");
    // Read for an 8, "@" may be a dotted zero run together with its dot.
    Draw(QStringLiteral("8.2"));
    EXPECT_EQ(Text(Judged({Read("@", 0), Read(".", 1), Read("2", 2)})), "?.2");
    Draw(QStringLiteral("173"));
    EXPECT_EQ(Text(Judged({Read("1", 0), Read("/", 1), Read("3", 2)})), "173");
    // Before the number, a mark may be a piece of the sign: it stays, and the amount with it.
    Draw(QStringLiteral("75"));
    EXPECT_EQ(Text(Judged({Read("/", 0), Read("5", 1)})), "/5");
}

TEST_F(DrawnLine, AGlyphEnclosingNoGroundIsNoDigitWithAHole) {
    // A bold zero whose counter blur filled in: a blot the templates take for an 8.
    QImage blotted =
        test::DrawnInCells(QStringLiteral("2 .1"), QStringLiteral("DejaVu Sans"), 48, kCell, 80);
    {
        QPainter painter(&blotted);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(QRect(kCell + 14, 22, 32, 36));
    }
    Use(blotted);
    const std::vector<Symbol> doubt =
        Judged({Read("2", 0), Doubt(1, "08"), Read(".", 2), Read("1", 3)});
    EXPECT_EQ(Text(doubt), "2?.1");
    EXPECT_TRUE(doubt[1].withoutGlyph);
    // Read as a letter inside the number, it is no digit either.
    EXPECT_EQ(Text(Judged({Read("2", 0), Read("o", 1), Read(".", 2), Read("1", 3)})), "2?.1");
    // A zero that kept its hole is settled as the templates name it.
    Draw(QStringLiteral("20.1"));
    EXPECT_EQ(Text(Judged({Read("2", 0), Doubt(1, "08"), Read(".", 2), Read("1", 3)})), "20.1");
    // A 5 the recogniser hesitated over only as a 9: no view may settle it as the 9.
    Draw(QStringLiteral("25.1"));
    const std::vector<Symbol> five =
        Judged({Read("2", 0), Doubt(1, "9"), Read(".", 2), Read("1", 3)});
    EXPECT_EQ(Text(five), "2?.1");
    EXPECT_TRUE(five[1].withoutGlyph);
}

TEST_F(DrawnLine, AMarkReadOnTheSpaceBetweenTwoDigitsIsDropped) {
    // The recogniser read "2.5/7": the box of its "/" holds only the edges of the 5 and the 7.
    Draw(QStringLiteral("2.57"));
    Symbol phantom = Read("/", 2);
    phantom.left = 2 * kCell + 40;
    phantom.right = 3 * kCell + 20;
    EXPECT_EQ(Text(Judged({Read("2", 0), Read(".", 1), Read("5", 2), phantom, Read("7", 3)})),
              "2.57");
    // Only between digits the glyphs show as read: the 7 read as a 1 may hide more.
    EXPECT_EQ(Text(Judged({Read("2", 0), Read(".", 1), Read("5", 2), phantom, Read("1", 3)})),
              "2.5/?");
    // A mark of its own there (a minus, too flat to be a glyph) stays.
    Draw(QStringLiteral("25-7"));
    EXPECT_EQ(Text(Judged({Read("2", 0), Read("5", 1), Read("/", 2), Read("7", 3)})), "25/7");
}

TEST_F(DrawnLine, AMarkReadAloneAfterTheSignIsTheDigitItsGlyphShows) {
    Draw(QStringLiteral("\u00A51"));
    EXPECT_EQ(Text(Judged({Read("\u00A5", 0), Read("t", 1)})), "\u00A51");
    // A box holding more than the glyph may stand for several characters the recogniser
    // dropped: the mark stays, and gives no amount.
    Draw(QStringLiteral("\u00A5-0"));
    EXPECT_EQ(Text(Judged({Read("\u00A5", 0), Read("U", 1, 2)})), "\u00A5U");
    // Before more of the number, the mark may hide a point or a digit: it stays.
    Draw(QStringLiteral("\u00A515"));
    EXPECT_EQ(Text(Judged({Read("\u00A5", 0), Read("t", 1), Read("5", 2)})), "\u00A5t5");
}

TEST_F(DrawnLine, WithoutTemplatesOrAGlyphNothingChanges) {
    Draw(QStringLiteral("8 "));
    const std::vector<Symbol> read = {Read("3", 0), Doubt(1, "38")};
    EXPECT_EQ(Text(JudgeByGlyphs(read, m_ink.get(), {}).symbols), "3?");
    EXPECT_EQ(Text(Judged(read)), "??");  // the blank cell names nothing
}

}  // namespace
}  // namespace zelvo
