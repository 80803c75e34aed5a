#include <gtest/gtest.h>

#include "ListSettleTestSupport.h"
#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "payment/Settlement.h"
#include "payment/SettlementView.h"

namespace zelvo {
namespace {

class RecordingSettlementView : public SettlementView {
public:
    void ShowMessage(MessageKind kind, const std::u16string& text) override {
        messages.push_back({kind, text});
    }
    void ClearPasswordField() override { ++clearedPassword; }
    void ClosePasswordPrompt() override { promptClosed = true; }
    void StartPrinting() override { ++printJobs; }
    void SettlementDone() override { ++done; }

    std::vector<std::pair<MessageKind, std::u16string>> messages;
    int clearedPassword = 0;
    bool promptClosed = false;
    int printJobs = 0;
    int done = 0;
};

// The bill file as text: the byte-order mark checked and dropped, UTF-16LE decoded.
std::u16string BillText() {
    const std::string bytes = test::ReadFile("SCprint.txt");
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    }
    return text;
}

class SettlementTest : public ::testing::Test {
protected:
    SettlementTest() {
        m_config.MerName = u"Zelvo演示商户";
        m_config.MerCode = "898310060110001";
        m_config.TermCode = "10000001";
        m_config.LineWide = "32";
        m_config.SpacLine = "1";
    }
    void Settle(const std::u16string& password) {
        Settlement settlement([this] { return &m_log.Db(); }, m_config,
                              [this] { return m_operator; }, m_view);
        settlement.SettleOperator(password);
    }
    void Add(const std::string& operatorId, const std::string& channel, double amount,
             const std::string& revFlag = "0", const std::string& processFlag = "0") {
        test::LogRow row;
        row.operatorId = operatorId;
        row.channel = channel;
        row.amount = amount;
        row.revFlag = revFlag;
        row.processFlag = processFlag;
        test::InsertLogRow(m_log.Db(), row);
    }
    std::string Count(const std::string& where) {
        return m_log.Text("select count(*) from TBL_TRANS_LOG where " + where);
    }

    test::LogDatabase m_log;
    TerminalConfig m_config;
    SettlingOperator m_operator{"01", "123456"};
    RecordingSettlementView m_view;
};

TEST_F(SettlementTest, OneWeChatPaymentGivesTheExampleBill) {
    Add("01", "WXP", 12.50);
    Settle(u"123456");
    EXPECT_EQ(BillText(),
              u"          交易结算账单\r\n"
              u"--------------------------------\r\n"
              u"商户名称：Zelvo演示商户\r\n"
              u"商户编号：898310060110001\r\n"
              u"终端编号：10000001\r\n"
              u"--------------------------------\r\n"
              u"操作员ID：01\r\n"
              u"账户品牌 交易类型 笔数  金额(元)\r\n"
              u"微信     下单支付 1     12.50\r\n"
              u"微信     退款     0     0.00\r\n"
              u"--------------------------------\r\n"
              u"微信          1笔      12.50元\r\n"
              u"\r\n");
    EXPECT_TRUE(m_view.promptClosed);
    EXPECT_EQ(m_view.printJobs, 1);
    EXPECT_EQ(m_view.done, 1);
    ASSERT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(m_view.messages[0],
              std::make_pair(MessageKind::Success, std::u16string(u"结算成功！")));
    EXPECT_EQ(Count("SETTLE_TYPE = '1'"), "1");
}

TEST_F(SettlementTest, OperatorWithoutRowsGetsZeroAlipayAndWeChatLines) {
    Add("02", "WXP", 99.00);
    Settle(u"123456");
    const std::u16string bill = BillText();
    EXPECT_NE(bill.find(u"支付宝   下单支付 0     0.00\r\n支付宝   退款     0     0.00\r\n"
                        u"微信     下单支付 0     0.00\r\n微信     退款     0     0.00\r\n"),
              std::u16string::npos);
    EXPECT_NE(bill.find(u"支付宝        0笔       0.00元\r\n微信          0笔       0.00元\r\n"),
              std::u16string::npos);
}

TEST_F(SettlementTest, RefundsNetAgainstPurchasesPerChannel) {
    Add("01", "ALP", 20.00);
    Add("01", "ALP", 12.30);
    Add("01", "ALP", -5.00, "3");
    Add("01", "WXP", 0.10);
    Add("01", "WXP", 0.20);
    Settle(u"123456");
    const std::u16string bill = BillText();
    EXPECT_NE(bill.find(u"支付宝   下单支付 2     32.30\r\n支付宝   退款     1     -5.00\r\n"),
              std::u16string::npos);
    EXPECT_NE(bill.find(u"支付宝        3笔      27.30元\r\n"), std::u16string::npos);
    EXPECT_NE(bill.find(u"微信          2笔       0.30元\r\n"), std::u16string::npos);
}

TEST_F(SettlementTest, CancelledRowMakesItsChannelLinesButAddsNothing) {
    Add("01", "YLP", 7.00, "2");
    Settle(u"123456");
    const std::u16string bill = BillText();
    EXPECT_NE(bill.find(u"银联钱包 下单支付 0     0.00\r\n银联钱包 退款     0     0.00\r\n"),
              std::u16string::npos);
    EXPECT_EQ(bill.find(u"支付宝"), std::u16string::npos);
}

TEST_F(SettlementTest, OtherOperatorsAreUntouchedAndUnsuccessfulRowsMarkedUnsummed) {
    Add("01", "WXP", 10.00);
    Add("01", "WXP", 50.00, "0", "1");
    Add("01", "WXP", 60.00, "0", "5");
    Add("02", "WXP", 70.00);
    Settle(u"123456");
    EXPECT_NE(BillText().find(u"微信          1笔      10.00元"), std::u16string::npos);
    EXPECT_EQ(Count("OPER_ID = '01' and SETTLE_TYPE = '1'"), "3");
    EXPECT_EQ(Count("OPER_ID = '02' and SETTLE_TYPE = '0'"), "1");
}

TEST_F(SettlementTest, SettledRowsStayOutOfTheNextSettlement) {
    Add("01", "WXP", 10.00);
    Settle(u"123456");
    Add("01", "WXP", 1.00);
    Settle(u"123456");
    EXPECT_NE(BillText().find(u"微信          1笔       1.00元"), std::u16string::npos);
    EXPECT_EQ(Count("SETTLE_TYPE = '1'"), "2");
}

TEST_F(SettlementTest, PasswordIgnoresLetterCaseButNothingElse) {
    m_operator.password = "Abc123";
    Add("01", "WXP", 10.00);
    Settle(u"abc1234");
    Settle(u"");
    EXPECT_EQ(m_view.clearedPassword, 2);
    EXPECT_FALSE(m_view.promptClosed);
    EXPECT_EQ(m_view.printJobs, 0);
    ASSERT_EQ(m_view.messages.size(), 2u);
    EXPECT_EQ(m_view.messages[0],
              std::make_pair(MessageKind::Error, std::u16string(u"密码错误，结算失败！")));
    EXPECT_EQ(Count("SETTLE_TYPE = '1'"), "0");
    EXPECT_FALSE(std::filesystem::exists("SCprint.txt"));

    Settle(u"aBC123");
    EXPECT_TRUE(m_view.promptClosed);
    EXPECT_EQ(Count("SETTLE_TYPE = '1'"), "1");
}

TEST_F(SettlementTest, OperatorIdWithAQuoteIsBoundNotBroken) {
    m_operator.id = "0'1";
    Add("0'1", "WXP", 3.00);
    Add("01", "WXP", 4.00);
    Settle(u"123456");
    EXPECT_NE(BillText().find(u"操作员ID：0'1\r\n"), std::u16string::npos);
    EXPECT_NE(BillText().find(u"微信          1笔       3.00元"), std::u16string::npos);
    EXPECT_EQ(Count("OPER_ID = '01' and SETTLE_TYPE = '0'"), "1");
}

TEST_F(SettlementTest, FailingSumChangesNothing) {
    ASSERT_TRUE(m_log.Db().Execute("alter table TBL_TRANS_LOG rename to OLD_LOG"));
    Settle(u"123456");
    EXPECT_EQ(m_view.messages.back(),
              std::make_pair(MessageKind::Error, std::u16string(u"结算失败！")));
    EXPECT_EQ(m_view.printJobs, 0);
    EXPECT_FALSE(std::filesystem::exists("SCprint.txt"));

    RecordingSettlementView view;
    Settlement noDatabase([] { return nullptr; }, m_config, [this] { return m_operator; }, view);
    noDatabase.SettleOperator(u"123456");
    EXPECT_EQ(view.messages.back().second, u"结算失败！");
}

TEST_F(SettlementTest, UnwritableBillPrintsAndMarksNothing) {
    Add("01", "WXP", 10.00);
    Settlement settlement([this] { return &m_log.Db(); }, m_config, [this] { return m_operator; },
                          m_view, "missing-folder/SCprint.txt");
    settlement.SettleOperator(u"123456");
    EXPECT_EQ(m_view.messages.back(),
              std::make_pair(MessageKind::Error, std::u16string(u"打印文件失败！")));
    EXPECT_EQ(m_view.printJobs, 0);
    EXPECT_EQ(Count("SETTLE_TYPE = '1'"), "0");
}

TEST_F(SettlementTest, FailingMarkStillPrintsTheBill) {
    Add("01", "WXP", 10.00);
    ASSERT_TRUE(
        m_log.Db().Execute("create trigger no_marks before update on TBL_TRANS_LOG begin select "
                           "raise(abort, 'x'); end"));
    Settle(u"123456");
    EXPECT_EQ(m_view.printJobs, 1);
    EXPECT_EQ(m_view.done, 0);
    EXPECT_EQ(m_view.messages.back(),
              std::make_pair(MessageKind::Error, std::u16string(u"修改数据失败！")));
    EXPECT_EQ(Count("SETTLE_TYPE = '0'"), "1");
}

TEST_F(SettlementTest, ConfiguredWidthAndSpacingShapeTheBill) {
    m_config.LineWide = "40";
    m_config.SpacLine = "20";  // clamped to 15
    Settle(u"123456");
    const std::u16string bill = BillText();
    EXPECT_EQ(bill.substr(0, 22), std::u16string(14, u' ') + u"交易结算账单\r\n");
    EXPECT_NE(bill.find(std::u16string(40, u'-')), std::u16string::npos);
    const std::u16string tail = u"元\r\n" + [] {
        std::u16string blanks;
        for (int i = 0; i < 15; ++i) blanks += u"\r\n";
        return blanks;
    }();
    EXPECT_EQ(bill.substr(bill.size() - tail.size()), tail);
}

}  // namespace
}  // namespace zelvo
