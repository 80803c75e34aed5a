#include "config/TerminalConfig.h"

#include <gtest/gtest.h>

#include "config/DisplayTexts.h"
#include "config/ProcessPaths.h"
#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

class TerminalConfigTest : public testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(DbPath());
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
    }
    std::filesystem::path DbPath() const { return m_dir.Path() / "MISData.db"; }
    void Set(const std::string& name, const std::string& value) {
        ASSERT_TRUE(m_db.Execute("update SysConfig set Value = ? where Name = ?", {value, name}));
    }
    TerminalConfig Load() {
        TerminalConfig config;
        LoadTerminalConfig(m_db, config);
        return config;
    }
    MisCilSettings Derived() { return DeriveMisCilSettings(Load().GatewayValues()); }

    test::ScopedWorkDir m_dir;
    CLocalDb m_db;
};

TEST_F(TerminalConfigTest, LoadsTheDeliveredDemoTerminal) {
    TerminalConfig config = Load();
    EXPECT_EQ(config.MerCode, "898310060110001");
    EXPECT_EQ(config.TermCode, "10000001");
    EXPECT_EQ(config.MerKey.size(), 32u);
    EXPECT_EQ(config.ServerIP, "127.0.0.1");
    EXPECT_EQ(config.Charset, "1");
    EXPECT_EQ(config.Currency, u"CNY");
    EXPECT_EQ(config.MerName, u"Zelvo演示商户");
    EXPECT_EQ(config.PrintName, u"无驱动打印");
    EXPECT_EQ(config.SerialPort, u"printer-port.txt");
    EXPECT_EQ(config.FontSize, 20);
    MisCilSettings settings = DeriveMisCilSettings(config.GatewayValues());
    EXPECT_EQ(settings.serverPort, 17601);
    EXPECT_EQ(settings.waitTime, 30);
    EXPECT_EQ(settings.spacLine, 3);
    EXPECT_EQ(settings.lineWidth, 32);
    EXPECT_FALSE(settings.hostNameMode);
}

TEST_F(TerminalConfigTest, WaitTimeSpacLineLineWideAndCharsetAreClamped) {
    Set("WaitTime", "0");
    Set("SpacLine", "0");
    Set("LineWide", "0");
    Set("Charset", "3");
    MisCilSettings low = Derived();
    EXPECT_EQ(low.waitTime, 1);
    EXPECT_EQ(low.spacLine, 1);
    EXPECT_EQ(low.lineWidth, 32);
    EXPECT_EQ(Load().Charset, "1");

    Set("WaitTime", "250");
    Set("SpacLine", "20");
    Set("LineWide", "40");
    Set("Charset", "2");
    MisCilSettings high = Derived();
    EXPECT_EQ(high.waitTime, 100);
    EXPECT_EQ(high.spacLine, 15);
    EXPECT_EQ(high.lineWidth, 40);
    EXPECT_EQ(Load().Charset, "2");

    Set("WaitTime", "abc");
    EXPECT_EQ(Derived().waitTime, 1);
}

TEST_F(TerminalConfigTest, PortThatIsNotANumberIsUnusableAndHostNamesAreNoticed) {
    Set("ServerPort", "80a");
    Set("ServerIP", "gw.example.cn");
    MisCilSettings settings = Derived();
    EXPECT_FALSE(settings.serverPort.has_value());
    EXPECT_TRUE(settings.hostNameMode);
}

TEST_F(TerminalConfigTest, EmptySerialPortKeepsTheDefaultAndEmptyCurrencyStaysEmpty) {
    Set("SerialPort", "");
    Set("Currency", "");
    TerminalConfig config = Load();
    EXPECT_EQ(config.SerialPort, u"LPT1:");
    EXPECT_EQ(config.Currency, u"");
}

TEST_F(TerminalConfigTest, MerNameAlreadyFilledIsKept) {
    TerminalConfig config;
    config.MerName = u"横幅商户";
    LoadTerminalConfig(m_db, config);
    EXPECT_EQ(config.MerName, u"横幅商户");
}

TEST_F(TerminalConfigTest, MissingKeyNoLongerShiftsTheOthers) {
    ASSERT_TRUE(m_db.Execute("delete from SysConfig where Name = 'InsCode'"));
    TerminalConfig config = Load();
    EXPECT_EQ(config.InsCode, "");
    EXPECT_EQ(config.LineWide, "32");
    EXPECT_EQ(config.MerCode, "898310060110001");
    EXPECT_EQ(config.WaitTime, "30");
}

TEST_F(TerminalConfigTest, OverlongValuesAreCutToTheFieldCapacity) {
    Set("TermCode", "1234567890");
    Set("MerKey", std::string(40, 'k'));
    TerminalConfig config = Load();
    EXPECT_EQ(config.TermCode, "12345678");
    EXPECT_EQ(config.MerKey, std::string(32, 'k'));
}

TEST_F(TerminalConfigTest, SingleKeysAndTheirFallbacks) {
    Set("FontSize", "16pt");
    Set("LineHeight", "x");
    ASSERT_TRUE(m_db.Execute("delete from SysConfig where Name = 'PrintName'"));
    TerminalConfig config;
    config.PrintName = u"before";
    LoadTerminalConfig(m_db, config);
    EXPECT_EQ(config.FontSize, 16);
    EXPECT_EQ(config.LineHeight, 0);
    EXPECT_EQ(config.PrintName, u"");  // a query without rows still succeeds
}

TEST_F(TerminalConfigTest, PrintMeasuresReadOnlyLeadingDigits) {
    const std::pair<const char*, int> cases[] = {
        {" 16", 0}, {"-5", 0}, {"+12", 0}, {"\t9", 0}, {"24", 24}, {"99999999999", 1000000}};
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        Set("FontSize", text);
        Set("LineHeight", text);
        TerminalConfig config = Load();
        EXPECT_EQ(config.FontSize, expected);
        EXPECT_EQ(config.LineHeight, expected);
    }
}

TEST_F(TerminalConfigTest, FailingStatementIsReportedAndLoadingGoesOn) {
    ASSERT_TRUE(m_db.Execute("alter table SysConfig rename to Renamed"));
    int failures = 0;
    SetConfigLoadFailureHandler([&] { ++failures; });
    TerminalConfig config = Load();
    SetConfigLoadFailureHandler(nullptr);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(config.SerialPort, u"LPT1:");
    EXPECT_EQ(config.FontSize, 20);
    EXPECT_EQ(config.Charset, "1");
}

TEST_F(TerminalConfigTest, DisplayTextsDefaultOnlyWhenTheStatementFails) {
    DisplayTexts texts = LoadDisplayTexts(m_db);
    EXPECT_EQ(texts.TitleName, u"Zelvo");
    EXPECT_EQ(texts.WelComeName, u"欢迎进入Zelvo");
    ASSERT_TRUE(m_db.Execute("delete from SysConfig where Name = 'StatusName'"));
    EXPECT_EQ(LoadDisplayTexts(m_db).StatusName, u"");
    ASSERT_TRUE(m_db.Execute("drop table SysConfig"));
    EXPECT_EQ(LoadDisplayTexts(m_db).TitleName, u"Zelvo");
}

TEST(ProcessPaths, FolderKeepsItsTrailingSeparator) {
    EXPECT_EQ(FolderWithSeparator("D:\\Tools\\zelvo.exe"), "D:\\Tools\\");
    EXPECT_EQ(FolderWithSeparator("/opt/zelvo/bin/zelvo"), "/opt/zelvo/bin/");
    SetTessdataPrefix("/opt/zelvo/zelvo");
    EXPECT_STREQ(getenv("TESSDATA_PREFIX"), "/opt/zelvo/");
}

}  // namespace
}  // namespace zelvo
