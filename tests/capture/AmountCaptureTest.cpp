#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "capture/AmountCapture.h"
#include "store/CLocalDb.h"
#include "tests/capture/FakeCaptureTarget.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

using Calls = std::vector<std::string>;

// The capture with the reader's outcome chosen by the test: the rows of the failure table.
class AmountCaptureTest : public testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
        m_target.amount = m_target.display = QStringLiteral("8.00");
        m_target.code = QStringLiteral("134567890123456789");
    }
    void Set(const std::string& name, const std::string& value) {
        ASSERT_TRUE(m_db.Execute("update SysConfig set Value = ? where Name = ?", {value, name}));
    }
    AmountCapture& Capture() {
        if (!m_capture) {
            m_capture = std::make_unique<AmountCapture>(m_db, m_target, u"");
            m_capture->SetReader([this](const std::string& image, bool preprocess) {
                ++m_reads;
                m_lastImage = image;
                m_lastPreprocess = preprocess;
                return m_outcome;
            });
        }
        return *m_capture;
    }
    void ExpectPaymentPageUnchanged() {
        EXPECT_EQ(m_target.amount, QStringLiteral("8.00"));
        EXPECT_EQ(m_target.display, QStringLiteral("8.00"));
        EXPECT_EQ(m_target.code, QStringLiteral("134567890123456789"));
    }

    test::ScopedWorkDir m_dir;
    CLocalDb m_db;
    test::FakeCaptureTarget m_target;
    std::unique_ptr<AmountCapture> m_capture;
    ChainResult m_outcome{ChainOutcome::Read, u"12.50"};
    int m_reads = 0;
    std::string m_lastImage;
    bool m_lastPreprocess = false;
};

TEST_F(AmountCaptureTest, AnotherPageCurrentCapturesNothing) {
    Set("CutRect", "100,50,300,90");
    m_target.paymentPageCurrent = false;
    Capture().CaptureAmount();
    EXPECT_EQ(m_target.calls, Calls{"focus"});
    EXPECT_EQ(m_reads, 0);
    EXPECT_FALSE(std::filesystem::exists("cut.bmp"));
    ExpectPaymentPageUnchanged();
}

TEST_F(AmountCaptureTest, NoUsableRegionLeavesThePaymentPageAsItWas) {
    for (const char* stored : {"", "0,0,0,0", "300,90,100,50", "100,50,100,90"}) {
        m_target.calls.clear();
        Set("CutRect", stored);
        Capture().ResetCaptureRect();
        Capture().CaptureAmount();
        EXPECT_EQ(m_target.calls, Calls{"focus"}) << stored;
    }
    EXPECT_EQ(m_reads, 0);
    ExpectPaymentPageUnchanged();
}

TEST_F(AmountCaptureTest, ARegionThatCannotBeSplitAsksForANewOne) {
    Set("CutRect", "100,50,99999999999,90");
    Capture().CaptureAmount();
    EXPECT_EQ(m_target.calls, Calls{"notice 请重新选择截图区域"});
    EXPECT_EQ(m_reads, 0);
    ExpectPaymentPageUnchanged();
}

TEST_F(AmountCaptureTest, FailedCleaningIsShownAndLeavesThePageAsItWas) {
    Set("CutRect", "100,50,300,90");
    Set("OpencvFlag", "1");
    m_outcome = {ChainOutcome::PreprocessFailed, u""};
    Capture().CaptureAmount();
    EXPECT_TRUE(m_lastPreprocess);
    EXPECT_EQ(m_target.calls, Calls{"notice 图片预处理失败"});
    ExpectPaymentPageUnchanged();
}

TEST_F(AmountCaptureTest, NoAmountReadEmptiesThePaymentFields) {
    Set("CutRect", "100,50,300,90");
    for (ChainOutcome outcome : {ChainOutcome::RecognitionFailed, ChainOutcome::Read}) {
        m_target.calls.clear();
        m_target.amount = m_target.display = m_target.code = QStringLiteral("1");
        m_outcome = {outcome, u""};
        Capture().CaptureAmount();
        EXPECT_EQ(m_target.calls, (Calls{"clear", "focus"}));
        EXPECT_TRUE(m_target.amount.isEmpty() && m_target.display.isEmpty());
        EXPECT_TRUE(m_target.code.isEmpty());
        EXPECT_FALSE(m_target.codeBoxFocused);  // the amount box is focused
    }
}

TEST_F(AmountCaptureTest, AMissingResultLeavesThePageAsItWas) {
    Set("CutRect", "100,50,300,90");
    m_outcome = {ChainOutcome::ResultMissing, u""};
    Capture().CaptureAmount();
    EXPECT_EQ(m_target.calls, Calls{"focus"});
    ExpectPaymentPageUnchanged();
}

TEST_F(AmountCaptureTest, ARecognisedAmountFillsThePageWithTheCodeBoxFocused) {
    Set("CutRect", "100,50,300,90");
    Capture().CaptureAmount();
    EXPECT_EQ(m_lastImage, "cut.bmp");
    EXPECT_TRUE(m_lastPreprocess);  // a fresh database turns the cleaning on
    EXPECT_EQ(m_target.calls, Calls{"amount 12.50"});
    EXPECT_EQ(m_target.amount, QStringLiteral("12.50"));
    EXPECT_EQ(m_target.display, QStringLiteral("12.50"));
    EXPECT_TRUE(m_target.codeBoxFocused);
}

TEST_F(AmountCaptureTest, PreprocessingOnlyForExactlyOneReadOnce) {
    for (const char* flag : {"1 ", " 1", "0", "", "true"}) {
        Set("OpencvFlag", flag);
        EXPECT_FALSE(AmountCapture(m_db, m_target, u"").Preprocessing()) << '"' << flag << '"';
    }
    Set("OpencvFlag", "1");
    AmountCapture capture(m_db, m_target, u"");
    Set("OpencvFlag", "0");
    EXPECT_TRUE(capture.Preprocessing());
}

TEST_F(AmountCaptureTest, TheRegionIsKeptUntilReset) {
    Set("CutRect", "100,50,300,90");
    Capture().CaptureAmount();
    Set("CutRect", "10,10,60,30");
    Capture().CaptureAmount();
    EXPECT_EQ(Capture().Rect(), (CaptureRect{100, 50, 300, 90}));
    Capture().ResetCaptureRect();
    EXPECT_EQ(Capture().Rect(), CaptureRect{});
    Capture().CaptureAmount();
    EXPECT_EQ(Capture().Rect(), (CaptureRect{10, 10, 60, 30}));
}

TEST_F(AmountCaptureTest, AnEarlierCapturesFilesAreNeverReadAsThisOnes) {
    Set("CutRect", "100,50,300,90");
    std::ofstream("result.txt") << "99.00\n";
    std::ofstream("cut.jpg") << "old";
    // A reader whose recognition wrote nothing finds no result to read.
    Capture().SetReader([](const std::string&, bool) {
        const bool stale =
            std::filesystem::exists("result.txt") || std::filesystem::exists("cut.jpg");
        return stale ? ChainResult{ChainOutcome::Read, u"99.00"}
                     : ChainResult{ChainOutcome::ResultMissing, u""};
    });
    Capture().CaptureAmount();
    ExpectPaymentPageUnchanged();
}

}  // namespace
}  // namespace zelvo
