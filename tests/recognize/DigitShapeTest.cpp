#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPen>

#include "recognize/DigitShape.h"
#include "recognize/ImageCleaning.h"
#include "recognize/LeptonicaHandles.h"
#include "tests/recognize/DrawnCharacters.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

// One digit drawn large and hard-edged, as the cleaning leaves it.
QImage Drawn(const QString& family, QChar digit) {
    return test::DrawnInCells(QString(digit), family, 56, 80, 80);
}

// A zero whose dot, blurred and scaled up, has joined its sides: two loops, one over the
// other, like an 8 but with straight sides.
QImage JoinedZero() {
    QImage image(80, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(QPen(Qt::black, 6));
    painter.drawRoundedRect(QRect(22, 8, 36, 64), 16, 16);
    painter.drawLine(22, 40, 58, 40);
    return image;
}

// The ink of an image, and which candidates its glyph may be, its box given loosely.
class Digit {
public:
    explicit Digit(const QImage& image) {
        EXPECT_TRUE(image.save(QStringLiteral("digit.png")));
        PixPtr read(pixRead("digit.png"));
        m_ink = read ? DarkInk(read.get()) : nullptr;
    }
    Digit(const QString& family, QChar digit) : Digit(Drawn(family, digit)) {}
    std::string Fitting(const std::string& candidates) {
        return m_ink ? DigitsFittingShape(m_ink.get(), 5, 75, candidates) : "no ink";
    }
    // What becomes of the recogniser's `read` there: the text, and the candidates of a doubt.
    std::string Told(const std::string& read, const std::string& candidates = {}) {
        if (!m_ink) return "no ink";
        Symbol symbol;
        symbol.text = read;
        symbol.candidates = candidates;
        symbol.left = 5;
        symbol.right = 75;
        const Symbol told = WithShapesTold({symbol}, m_ink.get())[0];
        return told.text + (told.candidates.empty() ? "" : "{" + told.candidates + "}");
    }

private:
    PixPtr m_ink;
};

class DigitShape : public testing::Test {
protected:
    test::ScopedWorkDir m_dir;
};

TEST_F(DigitShape, HolesLeaveTheDigitsThatHaveThem) {
    const QString sans = QStringLiteral("DejaVu Sans");
    EXPECT_EQ(Digit(sans, u'0').Fitting("068"), "0");
    EXPECT_EQ(Digit(sans, u'6').Fitting("068"), "6");
    EXPECT_EQ(Digit(sans, u'9').Fitting("659"), "9");
    EXPECT_EQ(Digit(sans, u'8').Fitting("083"), "8");
    // Serif bowls as tall as half the digit, below or above its middle, are no zero's hole.
    for (const QString& serif : {QStringLiteral("AR PL UMing CN"), QStringLiteral("FreeSerif")}) {
        EXPECT_EQ(Digit(serif, u'6').Fitting("06"), "6") << serif.toStdString();
        EXPECT_EQ(Digit(serif, u'9').Fitting("09"), "9") << serif.toStdString();
        EXPECT_EQ(Digit(serif, u'0').Fitting("069"), "0") << serif.toStdString();
    }
}

TEST_F(DigitShape, AZeroWithADotOrBarIsStillAZero) {
    // Monospaced fonts mark the zero; the mark must not make it an 8.
    EXPECT_EQ(Digit(QStringLiteral("DejaVu Sans Mono"), u'0').Fitting("086"), "0");
    EXPECT_EQ(Digit(QStringLiteral("Liberation Mono"), u'0').Fitting("086"), "0");
    EXPECT_EQ(Digit(JoinedZero()).Fitting("08"), "0");
}

TEST_F(DigitShape, ADigitTheHolesDenyIsInDoubt) {
    const QString mono = QStringLiteral("DejaVu Sans Mono");
    EXPECT_EQ(Digit(mono, u'0').Told("0"), "0");
    // Holes and templates both say zero: the 6 the recogniser read, and would read again in
    // its other views, is no candidate.
    EXPECT_EQ(Digit(mono, u'0').Told("6"), "?{0}");
    EXPECT_EQ(Digit(QStringLiteral("DejaVu Sans"), u'0').Told("8"), "?{0}");
    // Only the holes deny it, on a glyph the templates do not take for a 6: the recogniser may
    // have seen a stroke that closed up.
    EXPECT_EQ(Digit(QStringLiteral("DejaVu Sans"), u'a').Told("5"), "?{56}");
}

TEST_F(DigitShape, ADoubtTheHolesAndTemplatesBothNameIsSettled) {
    const QString mono = QStringLiteral("DejaVu Sans Mono");
    EXPECT_EQ(Digit(mono, u'0').Told("?", "068"), "0");
    EXPECT_EQ(Digit(QStringLiteral("DejaVu Sans"), u'6').Told("?", "06"), "6");
    // The holes leave two candidates: it stays a doubt, between them.
    EXPECT_EQ(Digit(QStringLiteral("DejaVu Sans"), u'9').Told("?", "49"), "?{49}");
    // Holes the templates do not back settle nothing.
    EXPECT_EQ(Digit(QStringLiteral("DejaVu Sans"), u'a').Told("?", "56"), "?{6}");
}

TEST_F(DigitShape, ADoubtTheHolesDenyWhollyIsSettledByNoView) {
    // A dotted zero blurred into a "θ", doubted between 6 and 8: the views would settle it as
    // one of them. It stays a doubt without candidates.
    EXPECT_EQ(Digit(JoinedZero()).Told("?", "68"), "?");
}

TEST_F(DigitShape, AGlyphWithoutHolesTellsNothing) {
    // A 3 may be an 8 whose loops closed up: no candidate is dropped.
    EXPECT_EQ(Digit(QStringLiteral("DejaVu Sans"), u'3').Fitting("38"), "38");
    EXPECT_EQ(Digit(QStringLiteral("DejaVu Sans"), u'1').Fitting("17"), "17");
    // Holes no candidate has leave them all.
    EXPECT_EQ(Digit(QStringLiteral("DejaVu Sans"), u'8').Fitting("35"), "35");
}

}  // namespace
}  // namespace zelvo
