#include <gtest/gtest.h>

#include "MISCIL/FieldTables.h"
#include "MISCIL/TransRecord.h"
#include "payment/OrderNumber.h"
#include "payment/RequestBuilders.h"
#include "payment/TransactionResult.h"
#include "tests/payment/FlowTestSupport.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

using test::RequestField;

std::string Text(const RequestBuffer& buffer) {
    return std::string(RequestText(buffer));
}

TEST(OrderNumberTest, GeneratorFollowsTheClassicSequence) {
    // The first values every C library of this family gives after srand(1).
    OrderNumberRandom random(1);
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    EXPECT_EQ(random.Next(), 26500);
}

TEST(OrderNumberTest, StartsWithTheLocalTimeToTheMillisecond) {
    test::FixedClock clock({2016, 3, 5, 9, 7, 2, 45});
    std::string number = NewOrderNumber(clock);
    ASSERT_EQ(number.size(), 23u);
    EXPECT_EQ(number.substr(0, 17), "20160305090702045");
    int suffix = std::stoi(number.substr(17));
    EXPECT_GE(suffix, 100000);
    EXPECT_LE(suffix, 132767);
}

TEST(OrderNumberTest, SameSecondSharesTheSuffixAndDiffersInMilliseconds) {
    test::FixedClock clock({2026, 12, 7, 20, 30, 15, 1});
    std::string first = NewOrderNumber(clock);
    clock.Set({2026, 12, 7, 20, 30, 15, 999});
    std::string second = NewOrderNumber(clock);
    EXPECT_EQ(first.substr(17), second.substr(17));
    EXPECT_EQ(first.substr(14, 3), "001");
    EXPECT_EQ(second.substr(14, 3), "999");
    clock.Set({2026, 12, 7, 20, 30, 16, 1});
    EXPECT_NE(NewOrderNumber(clock).substr(17), first.substr(17));
}

class BuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        LastOrderNumber() = "earlier";
        LastPurchaseOrderNumber() = "earlier purchase";
        ClearRequest(m_buffer);
    }
    RequestBuffer m_buffer;
};

TEST_F(BuilderTest, ClearedBufferIsSpacesUpToTheGoodsInformation) {
    m_buffer.fill('x');
    ClearRequest(m_buffer);
    EXPECT_EQ(Text(m_buffer), std::string(713, ' '));
    EXPECT_EQ(m_buffer[713], '\0');
    EXPECT_EQ(m_buffer.back(), '\0');
}

TEST_F(BuilderTest, PurchaseLaysOutEveryField) {
    EXPECT_EQ(BuildPurchase("8", "134567890123456789", m_buffer, u"CNY"), 1);
    std::string text = Text(m_buffer);
    ASSERT_EQ(text.size(), 716u);
    EXPECT_EQ(text.substr(128, 4), "PURC");
    EXPECT_EQ(text.substr(132, 4), "    ");
    EXPECT_EQ(text.substr(136, 5), "SCT  ");
    EXPECT_EQ(text.substr(141, 12), "8" + std::string(11, ' '));
    EXPECT_EQ(text.substr(153, 32), "134567890123456789" + std::string(14, ' '));
    EXPECT_EQ(text.substr(185, 528), std::string(528, ' '));
    EXPECT_EQ(text.substr(713), "CNY");
    std::string order = RequestField(text, MisRequestField::OrderNum);
    EXPECT_EQ(order.size(), 23u);
    EXPECT_EQ(LastOrderNumber(), order);
    EXPECT_EQ(LastPurchaseOrderNumber(), order);
}

TEST_F(BuilderTest, PurchaseTakesTheFirstThreeCharactersOfTheCurrency) {
    BuildPurchase("1", "1234567890", m_buffer, u"HKDX");
    EXPECT_EQ(Text(m_buffer).substr(713), "HKD");
    ClearRequest(m_buffer);
    BuildPurchase("1", "1234567890", m_buffer, u"");
    EXPECT_EQ(Text(m_buffer).size(), 713u);
}

TEST_F(BuilderTest, QueryCarriesTheOriginalCodeAndOrder) {
    EXPECT_EQ(BuildQuery("PURC", "20260315100000000123456", "12.5", m_buffer), 1);
    std::string text = Text(m_buffer);
    EXPECT_EQ(text.size(), 713u);
    EXPECT_EQ(text.substr(128, 4), "INQY");
    EXPECT_EQ(text.substr(132, 4), "PURC");
    EXPECT_EQ(RequestField(text, MisRequestField::OrigOrderNum), "20260315100000000123456");
    EXPECT_EQ(RequestField(text, MisRequestField::MisTransAmt), "12.5");
    EXPECT_EQ(text.substr(136, 5), "SCT  ");
    EXPECT_EQ(LastOrderNumber(), "earlier");
    EXPECT_EQ(LastPurchaseOrderNumber(), "earlier purchase");
}

TEST_F(BuilderTest, RefundAndCancelLeaveTheOriginalCodeBlank) {
    BuildRefund("5.00", "20260315100000000123456", m_buffer);
    std::string refund = Text(m_buffer);
    EXPECT_EQ(refund.substr(128, 8), "REFD    ");
    EXPECT_EQ(RequestField(refund, MisRequestField::OrigOrderNum), "20260315100000000123456");
    EXPECT_EQ(LastOrderNumber(), RequestField(refund, MisRequestField::OrderNum));
    EXPECT_EQ(LastPurchaseOrderNumber(), "earlier purchase");

    ClearRequest(m_buffer);
    std::string before = LastOrderNumber();
    BuildCancel("5.00", "20260315100000000123456", m_buffer);
    std::string cancel = Text(m_buffer);
    EXPECT_EQ(cancel.substr(128, 8), "CANC    ");
    EXPECT_EQ(RequestField(cancel, MisRequestField::MisTransAmt), "5.00");
    EXPECT_EQ(cancel.substr(153, 32), std::string(32, ' '));
    EXPECT_EQ(LastOrderNumber(), before);
}

TEST_F(BuilderTest, OverlongValueStaysInsideItsField) {
    BuildPurchase("1234567890123456", "1234567890123456789012345678901234567", m_buffer, u"CNY");
    std::string text = Text(m_buffer);
    EXPECT_EQ(text.substr(141, 12), "123456789012");
    EXPECT_EQ(text.substr(153, 32), "12345678901234567890123456789012");
    EXPECT_EQ(text.substr(185, 8), std::string(8, ' '));
}

TransRecord RecordWithAccount(const std::string& account, const std::string& channel) {
    TransRecord record{};
    SetFieldValue(record.saAcctNum, account);
    SetFieldValue(record.saChannelCode, channel);
    SetFieldValue(record.saTxnType, "PURC");
    SetFieldValue(record.saRespCode, "00");
    SetFieldValue(record.saOrderNum, "20260315100000000123456");
    SetFieldValue(record.saChannelOrderNum, "4200000123");
    SetFieldValue(record.saErrDetail, "ok");
    record.dTransAmt = 12.3;
    return record;
}

TEST(ReadTransactionResultTest, CopiesTheAnswerAndMasksAccounts) {
    TransRecord record = RecordWithAccount("6222021234567890123", "WXP");
    TransactionResult result;
    EXPECT_EQ(ReadTransactionResult(&record, result), 1);
    EXPECT_EQ(result.acctNum, "6222***********0123");
    EXPECT_EQ(result.txnType, "PURC");
    EXPECT_EQ(result.respCode, "00");
    EXPECT_EQ(result.channelCode, "WXP");
    EXPECT_EQ(result.orderNum, "20260315100000000123456");
    EXPECT_EQ(result.channelOrderNum, "4200000123");
    EXPECT_EQ(result.errDetail, "ok");
    EXPECT_DOUBLE_EQ(result.transAmt, 12.3);
}

TEST(ReadTransactionResultTest, AccountMaskingBoundaries) {
    EXPECT_EQ(MaskAccountNumber("6222021234567890123", "ALP"), "6222021234567890123");
    EXPECT_EQ(MaskAccountNumber("1234567", "WXP"), "1234567");
    EXPECT_EQ(MaskAccountNumber("12345678", "WXP"), "12345678");
    EXPECT_EQ(MaskAccountNumber("123456789", "WXP"), "1234*6789");
    EXPECT_EQ(MaskAccountNumber("ab@c.com.cn", "QQP"), "ab@c***m.cn");
    // Only 64 characters fit the result, masked as a 64-character account.
    std::string masked = MaskAccountNumber(std::string(100, '7'), "WXP");
    EXPECT_EQ(masked, "7777" + std::string(56, '*') + "7777");
}

TEST(ReadTransactionResultTest, NoRecordLeavesTheResultAlone) {
    TransactionResult result;
    result.respCode = "kept";
    ReadTransactionResult(nullptr, result);
    EXPECT_EQ(result.respCode, "kept");
}

TEST(ReadTransactionResultTest, UnverifiedSuccessIsRecognised) {
    TransactionResult result;
    result.respCode = "00";
    result.errDetail = "&RSP_AUTH_NO_ERROR";
    EXPECT_TRUE(IsUnverifiedSuccess(result));
    result.respCode = "09";
    EXPECT_FALSE(IsUnverifiedSuccess(result));
    result.respCode = "00";
    result.errDetail.clear();
    EXPECT_FALSE(IsUnverifiedSuccess(result));
}

TEST(ReadTransactionResultTest, SuccessWhoseDetailLeftNoRoomForTheMarkIsNotTrusted) {
    // The library cuts its mark to the field: a forged answer with a long detail loses it.
    TransRecord record{};
    SetFieldValue(record.saTxnType, "PURC");
    SetFieldValue(record.saRespCode, "00");
    SetFieldValue(record.saErrDetail, std::string(600, 'e'));
    TransactionResult result;
    ReadTransactionResult(&record, result);
    EXPECT_TRUE(IsUnverifiedSuccess(result));
    EXPECT_EQ(EffectiveRespCode(result), "98");

    SetFieldValue(record.saErrDetail, std::string(506, 'e') + "&RSP_A");
    ReadTransactionResult(&record, result);
    EXPECT_TRUE(IsUnverifiedSuccess(result));

    SetFieldValue(record.saErrDetail, std::string(511, 'e'));
    ReadTransactionResult(&record, result);
    EXPECT_FALSE(IsUnverifiedSuccess(result));
}

}  // namespace
}  // namespace zelvo
