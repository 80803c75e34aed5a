#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/TerminalConfig.h"
#include "settings/ParameterSettings.h"
#include "settings/PrintChoice.h"
#include "settings/SettingsView.h"
#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

TEST(PrintChoiceTest, StoredFlagsSelectTheirEntry) {
    EXPECT_EQ(PrintChoiceIndex("0", "0"), 0);
    EXPECT_EQ(PrintChoiceIndex("1", "0"), 1);
    EXPECT_EQ(PrintChoiceIndex("0", "1"), 2);
    EXPECT_EQ(PrintChoiceIndex("1", "1"), 3);
    EXPECT_EQ(PrintChoiceIndex("0", "2"), 4);
    // Odd pairs follow the sums: 2+0 is not "settlement only", 3 is nothing known.
    EXPECT_EQ(PrintChoiceIndex("2", "0"), 3);
    EXPECT_EQ(PrintChoiceIndex("2", "1"), 0);
    EXPECT_EQ(PrintChoiceIndex("", "x"), 0);
}

TEST(PrintChoiceTest, EveryEntryStoresFlagsThatSelectItAgain) {
    for (size_t i = 0; i < kPrintChoiceEntries.size(); ++i) {
        const PrintFlags flags = PrintFlagsForEntry(kPrintChoiceEntries[i]);
        EXPECT_EQ(PrintChoiceIndex(flags.PrintMerPage, flags.PrintCustPage), static_cast<int>(i));
    }
    const PrintFlags unknown = PrintFlagsForEntry(u"something else");
    EXPECT_EQ(unknown.PrintMerPage, "0");
    EXPECT_EQ(unknown.PrintCustPage, "0");
}

TEST(PrintChoiceTest, PrinterListStartsWithDriverlessAndMatchesIgnoringCase) {
    EXPECT_EQ(PrinterChoices({}), std::vector<std::u16string>{u"无驱动打印"});
    const auto choices = PrinterChoices({u"Receipt-80", u"Office"});
    ASSERT_EQ(choices.size(), 3u);
    EXPECT_EQ(choices[0], u"无驱动打印");
    EXPECT_EQ(PrinterIndex(choices, u"receipt-80"), 1);
    EXPECT_EQ(PrinterIndex(choices, u"无驱动打印"), 0);
    EXPECT_EQ(PrinterIndex(choices, u"Gone"), -1);
    EXPECT_EQ(PrinterIndex(choices, u""), -1);
}

class RecordingSettingsView : public SettingsView {
public:
    SettingsForm ReadForm() const override { return form; }
    void ShowError(const std::u16string& text) override { messages.push_back(u"E:" + text); }
    void ShowNotice(const std::u16string& text) override { messages.push_back(u"N:" + text); }
    void ClearField(SettingsField field) override { cleared.push_back(field); }
    void ClearForm() override { formCleared = true; }
    void FocusField(SettingsField field) override { focused = field; }

    SettingsForm form;
    std::vector<std::u16string> messages;
    std::vector<SettingsField> cleared;
    bool formCleared = false;
    SettingsField focused = SettingsField::ConfirmButton;
};

class ParameterSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(DbPath());
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
        LoadTerminalConfig(m_db, m_config);
        m_view.form = ParameterSettings::LoadForm(&m_db, m_config);
    }
    std::filesystem::path DbPath() const { return m_dir.Path() / "MISData.db"; }
    std::string Stored(const std::string& key) {
        return test::QueryText(DbPath(), "select Value from SysConfig where Name = '" + key + "'");
    }
    void Save() {
        ParameterSettings settings(
            m_view, &m_db, [this] { return m_operator; }, [this] { ++m_restarts; });
        settings.Save();
    }
    void ExpectRefused(const std::u16string& message, SettingsField field, bool cleared) {
        Save();
        ASSERT_EQ(m_view.messages, std::vector<std::u16string>{u"E:" + message});
        EXPECT_EQ(m_view.focused, field);
        EXPECT_EQ(m_view.cleared,
                  cleared ? std::vector<SettingsField>{field} : std::vector<SettingsField>{});
        EXPECT_EQ(m_restarts, 0);
        EXPECT_EQ(Stored("MerCode"), "898310060110001");
    }

    test::ScopedWorkDir m_dir;
    CLocalDb m_db;
    TerminalConfig m_config;
    RecordingSettingsView m_view;
    std::string m_operator = "00";
    int m_restarts = 0;
};

TEST_F(ParameterSettingsTest, OpensWithTheLoadedConfigurationAndStoredKeys) {
    const SettingsForm& form = m_view.form;
    EXPECT_EQ(form.merCode, u"898310060110001");
    EXPECT_EQ(form.termCode, u"10000001");
    EXPECT_EQ(form.serverPort, u"17601");
    EXPECT_EQ(form.showKey, u"ctrl+a");
    EXPECT_EQ(form.leftKey, u"f1");
    EXPECT_EQ(form.fontSize, u"20");
    EXPECT_EQ(form.printerName, u"无驱动打印");
    EXPECT_EQ(form.printChoice,
              kPrintChoiceEntries[PrintChoiceIndex(m_config.PrintMerPage, m_config.PrintCustPage)]);
}

TEST_F(ParameterSettingsTest, NonAdministratorIsRefusedWithAnEmptiedFormAndNothingWritten) {
    m_operator = "01";
    m_view.form.merCode = u"123456789012345";
    Save();
    EXPECT_EQ(m_view.messages, std::vector<std::u16string>{u"N:您不是超级管理员，不能修改配置！"});
    EXPECT_TRUE(m_view.formCleared);
    EXPECT_EQ(m_view.focused, SettingsField::StoreName);
    EXPECT_EQ(Stored("MerCode"), "898310060110001");
    EXPECT_EQ(m_restarts, 0);
}

TEST_F(ParameterSettingsTest, StoreNameIsRequired) {
    m_view.form.storeName.clear();
    ExpectRefused(u"门店名称为空！", SettingsField::StoreName, false);
}

TEST_F(ParameterSettingsTest, EmptyMerchantNumberAfterTrimmingIsRequired) {
    m_view.form.merCode = u" \n";
    ExpectRefused(u"商户号为空！", SettingsField::MerCode, false);
}

TEST_F(ParameterSettingsTest, MerchantNumberOfFourteenDigitsIsEmptied) {
    m_view.form.merCode = u"12345678901234";
    ExpectRefused(u"商户号的长度应该为15个数字！", SettingsField::MerCode, true);
}

TEST_F(ParameterSettingsTest, MerchantNumberWithALetterIsEmptied) {
    m_view.form.merCode = u"12345678901234X";
    ExpectRefused(u"商户号不能包含除数字以外的字符！", SettingsField::MerCode, true);
}

TEST_F(ParameterSettingsTest, TerminalNumberRules) {
    m_view.form.termCode = u"";
    ExpectRefused(u"终端号为空！", SettingsField::TermCode, false);
    m_view.messages.clear();
    m_view.form.termCode = u"123456789";
    ExpectRefused(u"终端号的长度最多为8个数字！", SettingsField::TermCode, true);
    m_view.messages.clear();
    m_view.cleared.clear();
    m_view.form.termCode = u"1234567a";
    ExpectRefused(u"终端号不能包括除数字以外的字符！", SettingsField::TermCode, true);
}

TEST_F(ParameterSettingsTest, MerchantKeyRules) {
    m_view.form.merKey = u"";
    ExpectRefused(u"商户key为空！", SettingsField::MerKey, false);
    m_view.messages.clear();
    m_view.form.merKey = std::u16string(31, u'a');
    ExpectRefused(u"商户Key长度不正确！", SettingsField::MerKey, true);
    m_view.messages.clear();
    m_view.cleared.clear();
    m_view.form.merKey = u"0123456789abcdef-123456789ABCDEF";
    ExpectRefused(u"商户key不能包含除字符与数字以外的字符！", SettingsField::MerKey, true);
}

TEST_F(ParameterSettingsTest, OnlyTheFirstFailingFieldIsReported) {
    m_view.form.merCode = u"1";
    m_view.form.termCode = u"";
    m_view.form.merKey = u"";
    ExpectRefused(u"商户号的长度应该为15个数字！", SettingsField::MerCode, true);
}

TEST_F(ParameterSettingsTest, SaveStoresTrimmedValuesAndRestarts) {
    SettingsForm& form = m_view.form;
    form.storeName = u"悦来便利店 O'Hara";
    form.merCode = u" 123456789012345 ";
    form.termCode = u"87654321";
    form.merKey = u"0123456789abcdef0123456789ABCDEF";
    form.printChoice = u"仅结算时打印";
    form.serverIP = u" 10.0.0.5\t";
    form.showKey = u"alt+7";
    form.leftKey = u" left ";
    form.printerName = u"Receipt-80";
    Save();
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_EQ(m_restarts, 1);
    EXPECT_EQ(Stored("MerName"), "悦来便利店 O'Hara");
    EXPECT_EQ(Stored("MerCode"), "123456789012345");
    EXPECT_EQ(Stored("TermCode"), "87654321");
    EXPECT_EQ(Stored("MerKey"), "0123456789abcdef0123456789ABCDEF");
    EXPECT_EQ(Stored("PrintMerPage"), "0");
    EXPECT_EQ(Stored("PrintCustPage"), "2");
    EXPECT_EQ(Stored("ServerIP"), "10.0.0.5");
    EXPECT_EQ(Stored("ShowKey"), "alt+7");
    EXPECT_EQ(Stored("LeftKey"), "left");
    EXPECT_EQ(Stored("PrintName"), "Receipt-80");

    // The next start shows what was saved.
    TerminalConfig reloaded;
    LoadTerminalConfig(m_db, reloaded);
    const SettingsForm again = ParameterSettings::LoadForm(&m_db, reloaded);
    EXPECT_EQ(again.storeName, u"悦来便利店 O'Hara");
    EXPECT_EQ(again.printChoice, u"仅结算时打印");
    EXPECT_EQ(again.leftKey, u"left");
}

TEST_F(ParameterSettingsTest, SavingWritesBackTheStoredTextsTheAdministratorDidNotTouch) {
    // Longer than the loaded configuration's fields, which cut them.
    const std::string longName(300, 'n');
    test::RunSql(DbPath(), "update SysConfig set Value = '176010' where Name = 'ServerPort';"
                           "update SysConfig set Value = '100' where Name = 'LineWide';"
                           "update SysConfig set Value = '16px' where Name = 'FontSize';"
                           "update SysConfig set Value = '" +
                               longName + "' where Name = 'MerName';");
    TerminalConfig loaded;
    LoadTerminalConfig(m_db, loaded);
    m_view.form = ParameterSettings::LoadForm(&m_db, loaded);
    EXPECT_EQ(m_view.form.serverPort, u"176010");
    EXPECT_EQ(m_view.form.fontSize, u"16px");
    Save();
    EXPECT_EQ(m_restarts, 1);
    EXPECT_EQ(Stored("ServerPort"), "176010");
    EXPECT_EQ(Stored("LineWide"), "100");
    EXPECT_EQ(Stored("FontSize"), "16px");
    EXPECT_EQ(Stored("MerName"), longName);
    EXPECT_EQ(Stored("MerCode"), "898310060110001");
}

TEST_F(ParameterSettingsTest, ChecksStripOnlySpacesAndLineFeeds) {
    m_view.form.merCode = u"\t123456789012345";
    ExpectRefused(u"商户号的长度应该为15个数字！", SettingsField::MerCode, true);

    m_view = RecordingSettingsView{};
    m_view.form = ParameterSettings::LoadForm(&m_db, m_config);
    m_view.form.termCode = u"1234567\r";
    ExpectRefused(u"终端号不能包括除数字以外的字符！", SettingsField::TermCode, true);

    m_view = RecordingSettingsView{};
    m_view.form = ParameterSettings::LoadForm(&m_db, m_config);
    m_view.form.merKey = u"0123456789abcdef0123456789ABCDEF\t";
    ExpectRefused(u"商户Key长度不正确！", SettingsField::MerKey, true);

    m_view = RecordingSettingsView{};
    m_view.form = ParameterSettings::LoadForm(&m_db, m_config);
    m_view.form.merCode = u"\n 123456789012345 \n";
    Save();
    EXPECT_EQ(m_restarts, 1);
    EXPECT_EQ(Stored("MerCode"), "123456789012345");
}

TEST_F(ParameterSettingsTest, AFailingUpdateKeepsThePreviousConfigurationWhole) {
    // The eleventh of the seventeen statements fails.
    test::RunSql(DbPath(),
                 "create trigger refuse_line_wide before update on SysConfig "
                 "when new.Name = 'LineWide' begin select raise(abort, 'refused'); end;");
    m_view.form.storeName = u"新店名";
    m_view.form.merCode = u"123456789012345";
    Save();
    EXPECT_EQ(m_view.messages, std::vector<std::u16string>{u"N:配置失败，请重新配置！"});
    EXPECT_EQ(m_restarts, 0);
    EXPECT_EQ(Stored("MerCode"), "898310060110001");
    EXPECT_NE(Stored("MerName"), "新店名");

    // Once the cause is gone the same form saves in full.
    test::RunSql(DbPath(), "drop trigger refuse_line_wide;");
    m_view.messages.clear();
    Save();
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_EQ(Stored("MerCode"), "123456789012345");
    EXPECT_EQ(m_restarts, 1);
}

TEST_F(ParameterSettingsTest, AKeyWithoutItsRowIsAddedRatherThanLost) {
    ASSERT_TRUE(m_db.Execute("delete from SysConfig where Name = 'SettleKey'"));
    m_view.form.settleKey = u"f9";
    Save();
    EXPECT_EQ(m_restarts, 1);
    EXPECT_EQ(Stored("SettleKey"), "f9");
}

TEST_F(ParameterSettingsTest, NoDatabaseIsAFailedSaveNotARestart) {
    RecordingSettingsView view;
    view.form = m_view.form;
    ParameterSettings settings(
        view, nullptr, [] { return std::string("00"); }, [this] { ++m_restarts; });
    settings.Save();
    EXPECT_EQ(view.messages, std::vector<std::u16string>{u"N:配置失败，请重新配置！"});
    EXPECT_EQ(m_restarts, 0);
}

TEST(SettingsOrderTest, TabRunsThroughEveryFieldTheButtonAndBack) {
    SettingsField field = SettingsField::StoreName;
    std::vector<SettingsField> seen;
    for (int i = 0; i < 18; ++i) {
        seen.push_back(field);
        field = NextSettingsField(field);
    }
    EXPECT_EQ(seen[4], SettingsField::LineWide);
    EXPECT_EQ(seen[6], SettingsField::PrintChoice);
    EXPECT_EQ(seen[11], SettingsField::RepealKey);
    EXPECT_EQ(seen[13], SettingsField::LeftKey);
    EXPECT_EQ(seen[15], SettingsField::Printer);
    EXPECT_EQ(seen[16], SettingsField::ConfirmButton);
    EXPECT_EQ(seen[17], SettingsField::StoreName);
}

}  // namespace
}  // namespace zelvo
