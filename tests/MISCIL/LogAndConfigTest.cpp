#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"
#include "tests/MISCIL/GatewayTestSupport.h"

namespace zelvo {
namespace {

using test::DemoCfg;

class ExchangeLogTest : public testing::Test {
protected:
    ~ExchangeLogTest() override { CloseExchangeLog(); }
    std::string LogText() {
        FlushExchangeLog();
        return test::ReadFile(m_dir.Path() / "logfile.txt");
    }
    void LogATimeout() {
        TransRecord record{};
        SetFieldValue(record.saTxnType, "INQY");
        SetFieldValue(record.saOrigOrderNum, "ORIG");
        SetFieldValue(record.saOrderNum, "OWN");
        SetFieldValue(record.saChannelCode, "WXP");
        SetFieldValue(record.saMerCode, "898310060110001");
        SetFieldValue(record.saErrDetail, "d");
        WriteLogEvent(&record, 866, 1, "txn timeout");
    }

    test::ScopedWorkDir m_dir;
    test::FixedClock m_clock{LocalTime{2026, 12, 7, 10, 11, 12, 0}};
    test::ScopedClock m_scopedClock{m_clock};
};

constexpr const char* kTimeoutLine =
    "[10:11:12][0866] chn:WXP, txn:INQY, mer:898310060110001, order:ORIG, errorDetail:d, err: 1, "
    "info:txn timeout.\n";

TEST_F(ExchangeLogTest, TheFirstRunOfADayStartsTheFileWithItsDate) {
    ASSERT_EQ(nLoadCfg(DemoCfg()), 0);
    EXPECT_EQ(LogText(), "[20261207]\n");
    LogATimeout();
    EXPECT_EQ(LogText(), std::string("[20261207]\n") + kTimeoutLine);
}

TEST_F(ExchangeLogTest, LaterRunsThatDayAppendAndTheNextDayStartsAfresh) {
    ASSERT_EQ(nLoadCfg(DemoCfg()), 0);
    LogATimeout();
    ASSERT_EQ(nLoadCfg(DemoCfg()), 0);
    LogATimeout();
    EXPECT_EQ(LogText(), std::string("[20261207]\n") + kTimeoutLine + kTimeoutLine);

    m_clock.Set(LocalTime{2026, 12, 8, 0, 0, 1, 0});
    ASSERT_EQ(nLoadCfg(DemoCfg()), 0);
    EXPECT_EQ(LogText(), "[20261208]\n");
}

TEST_F(ExchangeLogTest, ALogThatCannotBeOpenedFallsBackToStandardOutput) {
    std::filesystem::create_directory(m_dir.Path() / "logfile.txt");
    testing::internal::CaptureStdout();
    nLoadCfg(DemoCfg());
    LogATimeout();
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("logfile.txt文件打开失败\n"), std::string::npos);
    EXPECT_NE(printed.find(kTimeoutLine), std::string::npos);
}

TEST(LoadedConfig, WaitTimeAndSlipLayoutAreClampedAndCharsetCorrected) {
    test::ScopedWorkDir dir;
    MisCilCfg cfg = DemoCfg();
    cfg.WaitTime = "0";
    cfg.SpacLine = "20";
    cfg.LineWide = "0";
    cfg.Charset = "3";
    ASSERT_EQ(nLoadCfg(cfg), 0);
    EXPECT_EQ(LoadedMisCilSettings().waitTime, 1);
    EXPECT_EQ(LoadedMisCilSettings().spacLine, 15);
    EXPECT_EQ(LoadedMisCilSettings().lineWidth, 32);
    EXPECT_EQ(LoadedMisCilCfg().Charset, "1");
    EXPECT_FALSE(LoadedMisCilSettings().hostNameMode);

    cfg.WaitTime = "300";
    cfg.ServerIP = "gw1.example";
    ASSERT_EQ(nLoadCfg(cfg), 0);
    EXPECT_EQ(LoadedMisCilSettings().waitTime, 100);
    EXPECT_TRUE(LoadedMisCilSettings().hostNameMode);

    cfg.ServerPort = "";
    EXPECT_EQ(nLoadCfg(cfg), MisCilError::PortConfig);
    EXPECT_FALSE(LoadedMisCilSettings().serverPort.has_value());
    CloseExchangeLog();
}

}  // namespace
}  // namespace zelvo
