#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include <QFont>
#include <QLinearGradient>
#include <QImage>
#include <QPainter>

#include "base/CodePage.h"
#include "recognize/AmountChain.h"
#include "recognize/CRecognizeApp.h"
#include "recognize/ImageCleaning.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

struct Look {
    QColor ink;
    QColor ground;
    int pixelSize;
    bool frame;
    bool aliased = false;
};

// A till total as the screen shows it, written as "cut.bmp".
void RenderTotal(const QString& text, const Look& look, const QString& path,
                 const QString& family = QStringLiteral("DejaVu Sans"), int width = 220) {
    QImage image(width, look.pixelSize * 2 + 10, QImage::Format_RGB32);
    image.fill(look.ground);
    QPainter painter(&image);
    QFont font(family);
    font.setPixelSize(look.pixelSize);
    if (look.aliased) font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(look.ink);
    if (look.frame) painter.drawRect(image.rect().adjusted(2, 2, -3, -3));
    painter.drawText(image.rect().adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    painter.end();
    ASSERT_TRUE(image.save(path, "BMP"));
}

class Recognition : public testing::Test {
protected:
    void SetUp() override { setenv("TESSDATA_PREFIX", ZELVO_TESSDATA_DIR, 1); }

    struct Total {
        const char* family;
        Look look;
        QString text;
        const char16_t* amount;
    };
    // Each total, drawn in a wide region and read with pre-processing, gives its amount.
    static void ExpectRead(const std::vector<Total>& totals) {
        for (const Total& total : totals) {
            RemoveWorkFiles();
            RenderTotal(total.text, total.look, QStringLiteral("cut.bmp"),
                        QString::fromUtf8(total.family), 360);
            EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, total.amount)
                << total.family << " " << total.text.toStdString();
        }
    }

    test::ScopedWorkDir m_dir;
};

TEST_F(Recognition, TheChainReadsTotalsInTheTillsColours) {
    const Look looks[] = {
        {Qt::black, Qt::white, 24, false},
        {Qt::white, QColor(0, 0, 160), 16, false},  // light on dark is turned round
        {Qt::yellow, Qt::black, 13, true},          // small, in a field border
        {QColor(90, 90, 90), QColor(170, 170, 170), 20, false},
    };
    for (const Look& look : looks) {
        for (bool preprocess : {true, false}) {
            RemoveWorkFiles();
            RenderTotal(QStringLiteral("\u00A5128.50"), look, QStringLiteral("cut.bmp"));
            ChainResult result = ReadAmountFromImage("cut.bmp", preprocess, u"");
            // Without cleaning, a small framed total may be read as nothing, never as another sum.
            if (!preprocess && look.frame && result.amount.empty()) continue;
            EXPECT_EQ(result.outcome, ChainOutcome::Read);
            EXPECT_EQ(result.amount, u"128.50")
                << "size " << look.pixelSize << (preprocess ? " cleaned" : " raw");
        }
    }
}

TEST_F(Recognition, CleaningWritesTheImageThatIsRecognised) {
    RenderTotal(QStringLiteral("66.00"), {Qt::red, Qt::white, 14, false},
                QStringLiteral("cut.bmp"));
    ASSERT_EQ(CRecognizeApp::PicProcess("cut.bmp", "cut.jpg"), 1);
    QImage cleaned(QStringLiteral("cut.jpg"));
    ASSERT_FALSE(cleaned.isNull());
    // Scaled up for the recogniser, dark on light with a quiet border.
    EXPECT_GT(cleaned.height(), 40);
    EXPECT_GT(qGray(cleaned.pixel(0, 0)), 200);
    ASSERT_EQ(CRecognizeApp::RunTesseract(u"cut.jpg", u"result", u""), 1);
    EXPECT_EQ(ReadRecognisedText("result.txt"), u"66.00");

    // Beside it, the same line before binarising: as large, and still grey at the strokes' edges.
    QImage grey(QString::fromStdString(GreyLineBeside("cut.jpg")));
    ASSERT_FALSE(grey.isNull());
    EXPECT_EQ(grey.size(), cleaned.size());
    int between = 0;
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x)
            between += std::abs(qGray(grey.pixel(x, y)) - 128) < 80;
    }
    EXPECT_GT(between, 20);

    // An image that cannot be cleaned leaves no earlier grey line behind to be read as its own.
    EXPECT_EQ(CRecognizeApp::PicProcess("absent.bmp", "cut.jpg"), 0);
    EXPECT_FALSE(std::filesystem::exists(GreyLineBeside("cut.jpg")));
}

// The image written as "cut.bmp" and cleaned as a capture is: the cleaned picture, null when the
// cleaning failed.
QImage Cleaned(const QImage& image) {
    if (!image.save(QStringLiteral("cut.bmp"), "BMP") ||
        CRecognizeApp::PicProcess("cut.bmp", "cut.jpg") != 1) {
        return {};
    }
    return QImage(QStringLiteral("cut.jpg"));
}

// A field's frame with strokes drawn in it, cleaned.
QImage CleanedFrameWith(const std::vector<QRect>& strokes) {
    QImage image(120, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    painter.drawRect(10, 10, 100, 30);
    for (const QRect& stroke : strokes) painter.fillRect(stroke, Qt::black);
    painter.end();
    return Cleaned(image);
}

// The runs of dark pixels along a row of the picture, and the longest of them.
struct DarkRuns {
    int count = 0;
    int longest = 0;
};
DarkRuns DarkRunsAlong(const QImage& image, int row) {
    DarkRuns runs;
    int run = 0;
    for (int x = 0; x < image.width(); ++x) {
        run = qGray(image.pixel(x, row)) < 128 ? run + 1 : 0;
        runs.count += run == 1;
        runs.longest = std::max(runs.longest, run);
    }
    return runs;
}

TEST_F(Recognition, StrokesRunIntoAFieldsFrameStayWithTheirGlyphs) {
    // Two upright strokes, the first run into the frame's top; only the frame's own long lines
    // are painted out, so both strokes, scaled alike, stand apart in the cleaned picture.
    const QImage cleaned = CleanedFrameWith({QRect(50, 10, 4, 20), QRect(70, 14, 4, 16)});
    ASSERT_FALSE(cleaned.isNull());
    EXPECT_EQ(DarkRunsAlong(cleaned, cleaned.height() * 2 / 3).count, 2);
}

TEST_F(Recognition, AGlyphTouchingTheFramesTopKeepsItsBarAndItsUpright) {
    // A display's digit drawn against the frame: its one-pixel top bar lies on the row under the
    // frame's top, and its upright is nearly as tall as the frame. Neither is the frame's: the
    // cleaned picture keeps the bar as the glyph's widest row and the upright beside a second,
    // shorter stroke.
    const QImage cleaned =
        CleanedFrameWith({QRect(30, 11, 16, 1), QRect(30, 11, 3, 28), QRect(70, 16, 3, 18)});
    ASSERT_FALSE(cleaned.isNull());
    int topRow = 0;
    while (topRow < cleaned.height() && DarkRunsAlong(cleaned, topRow).count == 0) ++topRow;
    ASSERT_LT(topRow, cleaned.height());
    const DarkRuns middle = DarkRunsAlong(cleaned, cleaned.height() / 2);
    EXPECT_EQ(middle.count, 2);
    // The bar is five times as wide as the upright; at least three times must be left.
    EXPECT_GE(DarkRunsAlong(cleaned, topRow).longest, 3 * middle.longest);
}

TEST_F(Recognition, AThickFrameAroundAShortFieldIsPaintedOut) {
    // Lines three pixels thick around a field twenty high take more than a third of its box, and
    // a stroke run into the frame's foot adds to them; the frame is told by its empty middle.
    QImage image(120, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (const QRect& line :
         {QRect(0, 0, 120, 3), QRect(0, 17, 120, 3), QRect(0, 0, 3, 20), QRect(117, 0, 3, 20)}) {
        painter.fillRect(line, Qt::black);
    }
    painter.fillRect(QRect(50, 5, 3, 12), Qt::black);
    painter.fillRect(QRect(70, 5, 3, 10), Qt::black);
    painter.end();
    const QImage cleaned = Cleaned(image);
    ASSERT_FALSE(cleaned.isNull());
    EXPECT_EQ(DarkRunsAlong(cleaned, cleaned.height() / 2).count, 2);
}

TEST_F(Recognition, ABlankRegionReadsAsNoAmount) {
    QImage blank(200, 40, QImage::Format_RGB32);
    blank.fill(Qt::white);
    ASSERT_TRUE(blank.save(QStringLiteral("cut.bmp"), "BMP"));
    ChainResult result = ReadAmountFromImage("cut.bmp", true, u"");
    EXPECT_EQ(result.outcome, ChainOutcome::Read);
    EXPECT_EQ(result.amount, u"");
}

TEST_F(Recognition, ARegionThatCutsThroughTheTotalReadsAsNoAmount) {
    const Look look{Qt::black, Qt::white, 24, false};
    RenderTotal(QStringLiteral("\u00A5128.50"), look, QStringLiteral("whole.bmp"));
    const QImage whole(QStringLiteral("whole.bmp"));
    // Whole, "128.50" reads; cut through the "1" or through the last "0", what is left would
    // read as another sum.
    const struct {
        int left, right;
        bool cut;
    } regions[] = {{0, 220, false}, {26, 220, true}, {0, 96, true}};
    for (const auto& region : regions) {
        for (bool preprocess : {true, false}) {
            RemoveWorkFiles();
            ASSERT_TRUE(whole.copy(region.left, 0, region.right - region.left, whole.height())
                            .save(QStringLiteral("cut.bmp"), "BMP"));
            const ChainResult result = ReadAmountFromImage("cut.bmp", preprocess, u"");
            EXPECT_EQ(result.outcome, ChainOutcome::Read);
            EXPECT_EQ(result.amount, region.cut ? u"" : u"128.50")
                << region.left << "-" << region.right << (preprocess ? " cleaned" : " raw");
        }
    }
    // A label's character cut through leaves the amount whole.
    RenderTotal(QStringLiteral("\u5408\u8BA1\uFF1A\u00A5128.50"), look, QStringLiteral("label.bmp"));
    const QImage label(QStringLiteral("label.bmp"));
    for (bool preprocess : {true, false}) {
        RemoveWorkFiles();
        ASSERT_TRUE(label.copy(44, 0, label.width() - 44, label.height())
                        .save(QStringLiteral("cut.bmp"), "BMP"));
        EXPECT_EQ(ReadAmountFromImage("cut.bmp", preprocess, u"").amount, u"128.50")
            << (preprocess ? "cleaned" : "raw");
    }
    // A field border on the region's sides is no character cut through.
    RenderTotal(QStringLiteral("\u00A5128.50"), {Qt::black, Qt::white, 24, true},
                QStringLiteral("framed.bmp"));
    const QImage framed(QStringLiteral("framed.bmp"));
    RemoveWorkFiles();
    ASSERT_TRUE(framed.copy(2, 2, framed.width() - 4, framed.height() - 4)
                    .save(QStringLiteral("cut.bmp"), "BMP"));
    EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, u"128.50");
}

// A total on a panel shading from top to bottom, under `edge` rows of the window's grey.
QImage ShadedTotal(const QColor& ink, int edge) {
    QImage shaded(240, 50, QImage::Format_RGB32);
    QPainter painter(&shaded);
    painter.fillRect(0, 0, shaded.width(), edge, QColor(222, 222, 222));
    QLinearGradient gradient(0, edge, 0, shaded.height());
    gradient.setColorAt(0, QColor(48, 80, 160));
    gradient.setColorAt(1, QColor(160, 192, 255));
    painter.fillRect(shaded.rect().adjusted(0, edge, 0, 0), gradient);
    QFont bold(QStringLiteral("DejaVu Sans"));
    bold.setPixelSize(28);
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(ink);
    painter.drawText(shaded.rect().adjusted(20, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     QStringLiteral("\u00A5128.50"));
    return shaded;
}

TEST_F(Recognition, ATotalOnAShadedPanelIsReadAndItsCutsAreSeen) {
    // One level split such a panel in two: its darker half was taken for text run into the
    // region's sides (white text), or for the text itself (yellow text, as pale as its lower half).
    // The region may take in a little of the window above the panel.
    for (const auto& [ink, edge] : {std::pair{QColor(Qt::white), 0}, std::pair{QColor(Qt::yellow), 0},
                                    std::pair{QColor(Qt::yellow), 2}}) {
        const QImage shaded = ShadedTotal(ink, edge);
        for (const auto& [width, amount] : {std::pair{240, u"128.50"}, std::pair{135, u""}}) {
            RemoveWorkFiles();
            ASSERT_TRUE(
                shaded.copy(0, 0, width, shaded.height()).save(QStringLiteral("cut.bmp"), "BMP"));
            EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, amount)
                << ink.name().toStdString() << " " << edge << " " << width;
        }
    }
}

TEST_F(Recognition, AFieldsFrameWithGroundAroundItIsNoPartOfTheTotal) {
    // The region reaches well past the field, so its frame is far from the region's sides.
    const struct {
        QColor ink, ground;
        QString text;
        const char16_t* amount;
    } fields[] = {{Qt::green, Qt::black, QStringLiteral("108"), u"108"},
                  {Qt::black, Qt::white, QStringLiteral("2.18"), u"2.18"}};
    for (const auto& field : fields) {
        QImage image(170, 76, QImage::Format_RGB32);
        image.fill(field.ground);
        QPainter painter(&image);
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setPixelSize(16);
        painter.setFont(font);
        painter.setPen(field.ink);
        const QRect frame(24, 16, 100, 40);
        painter.drawRect(frame);
        painter.drawText(frame, Qt::AlignCenter, field.text);
        painter.end();
        RemoveWorkFiles();
        ASSERT_TRUE(image.save(QStringLiteral("cut.bmp"), "BMP"));
        EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, field.amount)
            << field.text.toStdString();
    }
}

TEST_F(Recognition, FaintTextInADarkFrameIsReadWhole) {
    // The frame alone is darker than the splitting level first found; without it, the pale
    // strokes of the last digits were cut off ("46305.4"), and a frame painted out in white
    // on the grey ground stood out as a frame again.
    QImage image(150, 40, QImage::Format_RGB32);
    image.fill(QColor(200, 200, 200));
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(QColor(50, 50, 50));
    const QRect frame(5, 5, 139, 29);
    painter.drawRect(frame);
    painter.setPen(QColor(150, 150, 150));
    painter.drawText(frame, Qt::AlignCenter, QStringLiteral("\u00A546305.43"));
    painter.end();
    RemoveWorkFiles();
    ASSERT_TRUE(image.save(QStringLiteral("cut.bmp"), "BMP"));
    EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, u"46305.43");
}

// "4.65" written with its point in `pointColour`, saved as "cut.bmp".
void SaveTotalWithPointIn(const QColor& pointColour) {
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(30);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    int x = 8;
    const int baseline = 44;
    const auto write = [&](const QString& text, const QColor& colour) {
        painter.setPen(colour);
        painter.drawText(x, baseline, text);
        x += metrics.horizontalAdvance(text);
    };
    write(QStringLiteral("4"), QColor(40, 40, 40));
    write(QStringLiteral("."), pointColour);
    write(QStringLiteral("65"), QColor(40, 40, 40));
    painter.end();
    RemoveWorkFiles();
    ASSERT_TRUE(image.save(QStringLiteral("cut.bmp"), "BMP"));
}

TEST_F(Recognition, APointFainterThanTheDigitsIsKept) {
    // Blurred small text leaves its point paler than the digits; without it "4.65" would be
    // read as 465.
    SaveTotalWithPointIn(QColor(170, 170, 170));
    EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, u"4.65");
}

TEST_F(Recognition, APointTooPaleForTheCleanedPictureLeavesNoAmount) {
    // Binarising drops it with the ground, and the recogniser reads 465; the grey still shows
    // it.
    SaveTotalWithPointIn(QColor(215, 215, 215));
    EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, u"");
}

TEST_F(Recognition, AnEnglishLabelBeforeTheTotalIsPassedOver) {
    // The O of "TOTAL" is a letter of its word, not a zero of the amount.
    for (const QString& text :
         {QStringLiteral("TOTAL \u00A5128.50"), QStringLiteral("Total: 128.50")}) {
        RemoveWorkFiles();
        RenderTotal(text, {Qt::black, Qt::white, 20, false}, QStringLiteral("cut.bmp"));
        EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, u"128.50")
            << text.toStdString();
    }
    // The amount's own zeros stay zeros.
    RemoveWorkFiles();
    RenderTotal(QStringLiteral("\u00A5100.50"), {Qt::black, Qt::white, 20, false},
                QStringLiteral("cut.bmp"));
    EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, u"100.50");
}

TEST_F(Recognition, TheUnitAfterTheTotalIsPassedOver) {
    // Read with the number, "元" may come out as letters ("JT"); read alone it is the unit.
    ExpectRead({
        {"Liberation Serif", {QColor(0, 0, 128), QColor(220, 230, 250), 40, false},
         QStringLiteral("\uFFE5380.03 \u5143"), u"380.03"},
        {"FreeMono", {Qt::black, Qt::white, 28, false}, QStringLiteral("\uFFE560,801 \u5143"),
         u"60801"},
        {"DejaVu Sans", {Qt::black, Qt::white, 20, false}, QStringLiteral("\uFFE5380.03 \u5143"),
         u"380.03"},
        // Read with the digit as one word ("1?C"), the unit is still found after its space.
        {"FreeSans", {QColor(0, 230, 60), Qt::black, 41, false}, QStringLiteral("\uFFE51 \u5143"),
         u"1"},
        {"Liberation Sans", {QColor(20, 20, 120), QColor(235, 240, 250), 42, false},
         QStringLiteral("\uFFE51 \u5143"), u"1"},
        // The recogniser stretches the box of a lone digit over the unit beside it.
        {"DejaVu Sans",
         {QColor(20, 20, 120), QColor(235, 240, 250), 44, false},
         QStringLiteral("\u00A53 \u5143"),
         u"3"},
    });
}

TEST_F(Recognition, TheUnitWrittenCloseAfterTheTotalIsPassedOver) {
    // Read with the number, "元" without a space before it came out as a digit ("1287").
    const Look plain{Qt::black, Qt::white, 26, false};
    ExpectRead({
        {"AR PL UMing CN", plain, QStringLiteral("128\u5143"), u"128"},
        {"AR PL UMing CN", plain, QStringLiteral("1280\u5143"), u"1280"},
        {"WenQuanYi Micro Hei", plain, QStringLiteral("128\u5143"), u"128"},
        {"AR PL UMing CN", plain, QStringLiteral("36.8\u5143"), u"36.8"},
        {"AR PL UMing CN", plain, QStringLiteral("5\u5143"), u"5"},
        {"DejaVu Sans",
         {Qt::white, QColor(0, 60, 170), 34, false},
         QStringLiteral("\u00A5980\u5143"),
         u"980"},
        // Where the line read a sure digit on it ("657"), the line is in doubt; never "657", but
        // the smaller views read the total.
        {"Liberation Mono",
         {Qt::white, QColor(0, 60, 170), 30, false},
         QStringLiteral("\uFFE565\u5143"),
         u"65"},
    });
}

TEST_F(Recognition, ALineMisreadInItsCleanedPictureIsReadInSmallerViews) {
    // Read in the hard-edged cleaned picture, these come out as "83,/57.68" and "5./1".
    ExpectRead({
        {"DejaVu Sans", {Qt::black, Qt::white, 26, false}, QStringLiteral("\u00A583,757.68"),
         u"83757.68"},
        {"Liberation Sans", {Qt::black, Qt::white, 26, false}, QStringLiteral("5.71"), u"5.71"},
    });
}

// The amount the recogniser reads in the cleaned image "cut.jpg".
std::u16string AmountInTheCleanedImage() {
    std::filesystem::remove("result.txt");
    if (CRecognizeApp::RunTesseract(u"cut.jpg", u"result", u"") != 1) return u"failed";
    std::u16string text = ReadRecognisedText("result.txt").value_or(u"");
    CRecognizeApp::ModifyAccount(text);
    return text;
}

TEST_F(Recognition, SmallTextThatBinarisingBrokeIsReadInItsGreyLine) {
    RenderTotal(QStringLiteral("3.72"), {Qt::black, Qt::white, 12, false, true},
                QStringLiteral("cut.bmp"), QStringLiteral("DejaVu Sans Mono"));
    ASSERT_EQ(CRecognizeApp::PicProcess("cut.bmp", "cut.jpg"), 1);
    EXPECT_EQ(AmountInTheCleanedImage(), u"3.72");

    // A grey picture of another size is some other line's, and is not read, even one that
    // differs from this line's by a row of ground: the line reads as it does without one.
    const QString greyFile = QString::fromStdString(GreyLineBeside("cut.jpg"));
    const QImage grey(greyFile);
    ASSERT_FALSE(grey.isNull());
    QImage taller(grey.width(), grey.height() + 1, grey.format());
    taller.fill(Qt::white);
    QPainter(&taller).drawImage(0, 0, grey);
    ASSERT_TRUE(taller.save(greyFile, "PNG"));
    const std::u16string besideTaller = AmountInTheCleanedImage();
    std::filesystem::remove(greyFile.toStdString());
    const std::u16string alone = AmountInTheCleanedImage();
    EXPECT_EQ(besideTaller, alone);
    EXPECT_TRUE(alone.empty() || alone == u"3.72");
}

TEST_F(Recognition, GreyViewsThatReadAnotherAmountTakeNoVotesFromTheSharpOnes) {
    // The smaller sharp views agree on this line; the grey ones read another amount in it.
    ExpectRead({{"DejaVu Sans Mono",
                 {Qt::black, Qt::white, 24, false, true},
                 QStringLiteral("\u00A54,419.20"),
                 u"4419.20"}});
}

TEST_F(Recognition, TwoTotalsInTheRegionReadAsNoAmount) {
    RenderTotal(QStringLiteral("12.50  88.00"), {Qt::black, Qt::white, 20, false},
                QStringLiteral("cut.bmp"));
    EXPECT_EQ(ReadAmountFromImage("cut.bmp", true, u"").amount, u"");
}

TEST_F(Recognition, UnreadableImagesAndMissingDataFail) {
    std::ofstream("cut.bmp", std::ios::binary) << "BM not really";
    EXPECT_EQ(CRecognizeApp::PicProcess("cut.bmp", "cut.jpg"), 0);
    EXPECT_EQ(CRecognizeApp::PicProcess("absent.bmp", "cut.jpg"), 0);
    EXPECT_EQ(CRecognizeApp::RunTesseract(u"absent.bmp", u"result", u""), 0);
    EXPECT_FALSE(std::filesystem::exists("result.txt"));

    RenderTotal(QStringLiteral("5.00"), {Qt::black, Qt::white, 20, false},
                QStringLiteral("cut.bmp"));
    std::filesystem::create_directory("empty");
    setenv("TESSDATA_PREFIX", (m_dir.Path() / "empty").c_str(), 1);
    EXPECT_EQ(CRecognizeApp::RunTesseract(u"cut.bmp", u"result", u""), 0);
    // The data folder given by the caller serves when TESSDATA_PREFIX is not set.
    unsetenv("TESSDATA_PREFIX");
    EXPECT_EQ(
        CRecognizeApp::RunTesseract(u"cut.bmp", u"result", Utf8ToUtf16(ZELVO_TESSDATA_DIR "/")), 1);
    EXPECT_EQ(ReadRecognisedText("result.txt"), u"5.00");
}

}  // namespace
}  // namespace zelvo
