#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "MISCIL/FieldTables.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/MisMessages.h"
#include "tests/MISCIL/GatewayTestSupport.h"

namespace zelvo {
namespace {

using test::LibraryEnv;
using test::MakeRequest;

TEST(MisRequest, ExactlyTheMinimumLengthIsAcceptedAndOneLessIsNot) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    std::string request = MakeRequest(
        {.orderNum = "A1", .txnType = "PURC", .channel = "SCT", .amount = "1.00"}, false);
    ASSERT_EQ(request.size(), 713u);
    EXPECT_EQ(nUnpackMisReq(context, request.c_str()), 0);
    EXPECT_STREQ(context.record.currency, "");
    EXPECT_STREQ(context.record.saOrderNum, "A1");
    EXPECT_EQ(context.misReq.length, 713u);

    request.pop_back();
    EXPECT_EQ(nUnpackMisReq(context, request.c_str()), MisCilError::ShortRequest);
    EXPECT_EQ(nUnpackMisReq(context, nullptr), MisCilError::NoRequest);
}

TEST(MisRequest, EveryPositionLandsInItsField) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    std::string request = MakeRequest({.orderNum = "ORDER-1",
                                       .origOrderNum = "ORIG-9",
                                       .txnType = "INQY",
                                       .origTxnType = "REFD",
                                       .channel = "WXP",
                                       .amount = "12.30",
                                       .scanCode = "134567890123456789",
                                       .terminal = "T0000001",
                                       .goods = "apples",
                                       .currency = "CNY"});
    ASSERT_EQ(nUnpackMisReq(context, request.c_str()), 0);
    const TransRecord& r = context.record;
    EXPECT_STREQ(r.saOrderNum, "ORDER-1");
    EXPECT_STREQ(r.saOrigOrderNum, "ORIG-9");
    EXPECT_STREQ(r.saTxnType, "INQY");
    EXPECT_STREQ(r.saOrigTxnType, "REFD");
    EXPECT_STREQ(r.saChannelCode, "WXP");
    EXPECT_STREQ(r.saMisTransAmt, "12.30");
    EXPECT_STREQ(r.saScanCode, "134567890123456789");
    EXPECT_STREQ(r.terminalid, "T0000001");
    EXPECT_STREQ(r.saGoodsInfo, "apples");
    EXPECT_STREQ(r.currency, "CNY");
}

TEST(MisRequest, BlankChannelStaysFiveSpacesAndOtherFieldsKeepTheirFirstWord) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    std::string request = MakeRequest({.orderNum = "AB CD", .txnType = "PURC", .amount = " 5"});
    ASSERT_EQ(nUnpackMisReq(context, request.c_str()), 0);
    EXPECT_STREQ(context.record.saChannelCode, "     ");
    EXPECT_STREQ(context.record.saOrderNum, "AB");
    EXPECT_STREQ(context.record.saMisTransAmt, "5");
    EXPECT_STREQ(context.record.saScanCode, "");
}

TEST(MisRequest, UnpackingClearsWhatTheLastExchangeLeft) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    SetFieldValue(context.record.saRespCode, "00");
    SetFieldValue(context.record.saErrDetail, "old");
    context.oigRsp.length = 5;
    ASSERT_EQ(nUnpackMisReq(context, MakeRequest({.orderNum = "N"}).c_str()), 0);
    EXPECT_STREQ(context.record.saRespCode, "");
    EXPECT_STREQ(context.record.saErrDetail, "");
    EXPECT_EQ(context.oigRsp.length, 0u);
}

TEST(MisRequest, OverlongTextIsKeptOnlyAsFarAsTheBuffer) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    std::string request = MakeRequest({.orderNum = "N"}) + std::string(5000, 'x');
    ASSERT_EQ(nUnpackMisReq(context, request.c_str()), 0);
    EXPECT_EQ(context.misReq.length, kMessageBufferSize);
    // The currency takes the rest of the text: its first word, cut to the field.
    EXPECT_STREQ(context.record.currency, "xxx");
}

TEST(MisResponse, FieldsSitAtTheirPositionsAndTheTextIs1507Long) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    TransRecord& r = context.record;
    SetFieldValue(r.saOrderNum, "ORD");
    SetFieldValue(r.saMisTransAmt, "12.34");
    SetFieldValue(r.saRespCode, "00");
    SetFieldValue(r.saErrDetail, "ok");
    SetFieldValue(r.saAcctNum, "acct");
    SetFieldValue(r.cardInfo, std::string(512, 'c'));
    SetFieldValue(r.saChannelCode, "WXP");
    char out[2049];
    ASSERT_EQ(nPackMisRsp(context, out), 0);
    std::string text(out);
    ASSERT_EQ(text.size(), kMisResponseLength);
    EXPECT_EQ(text.substr(0, 4), "ORD ");
    EXPECT_EQ(text.substr(64, 6), "12.34 ");
    EXPECT_EQ(text.substr(76, 2), "00");
    EXPECT_EQ(text.substr(78, 3), "ok ");
    EXPECT_EQ(text.substr(654, 5), "acct ");
    EXPECT_EQ(text.substr(990, 512), std::string(512, 'c'));
    EXPECT_EQ(text.substr(1502), "WXP  ");
    EXPECT_EQ(context.misRsp.length, kMisResponseLength);
    EXPECT_EQ(nPackMisRsp(context, nullptr), 8);
}

TEST(Bitmaps, PurchaseRequestHasExactlyItsElevenBits) {
    LibraryEnv env;
    Bitmap bitmap{};
    ASSERT_EQ(LookupTxnBitmap(env.Context(), 2, 'Q', "PURC", bitmap), 0);
    std::vector<int> set;
    for (int n = 1; n <= 64; ++n) {
        if (TestBitmapBit(bitmap.data(), n)) set.push_back(n);
    }
    EXPECT_EQ(set, (std::vector<int>{1, 2, 4, 5, 6, 7, 13, 16, 22, 23, 24}));
}

TEST(Bitmaps, LookupMatchesKindDirectionAndCodeAndLeavesTheResultWhenNoneMatches) {
    LibraryEnv env;
    Bitmap bitmap{};
    ASSERT_EQ(LookupTxnBitmap(env.Context(), 2, 'A', "REFD", bitmap), 0);
    EXPECT_EQ(bitmap, (Bitmap{0xFC, 0x0C, 0, 0, 0, 0, 0, 0}));
    Bitmap untouched{1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(LookupTxnBitmap(env.Context(), 2, 'Q', "XXXX", untouched), -1);
    EXPECT_EQ(LookupTxnBitmap(env.Context(), 1, 'Q', "PURC", untouched), -1);
    EXPECT_EQ(LookupTxnBitmap(env.Context(), 2, 'Q', "PUR", untouched), -1);
    EXPECT_EQ(untouched, (Bitmap{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(Bitmaps, SetAndTestCoverOneToSixtyFourAndLogOutsideIt) {
    LibraryEnv env;
    Bitmap bitmap{};
    SetBitmapBit(bitmap.data(), 1);
    SetBitmapBit(bitmap.data(), 64);
    SetBitmapBit(bitmap.data(), 9);
    EXPECT_EQ(bitmap, (Bitmap{0x80, 0x80, 0, 0, 0, 0, 0, 0x01}));
    SetBitmapBit(bitmap.data(), 65);
    EXPECT_FALSE(TestBitmapBit(bitmap.data(), 0));
    EXPECT_FALSE(TestBitmapBit(nullptr, 3));
    std::string log = env.Log();
    EXPECT_NE(log.find("[0323]"), std::string::npos);
    EXPECT_NE(log.find("info:vsapBitmap = 0x80, NBitMapLen = 8, vnFldIdx = 65.\n."),
              std::string::npos);
    EXPECT_NE(log.find("[0346]"), std::string::npos);
}

TEST(Helpers, HexToBytesStopsAtTheFirstOtherCharacter) {
    std::uint8_t out[4] = {};
    EXPECT_EQ(HexToBytes("0aF9", 4, out), 0);
    EXPECT_EQ(out[0], 0x0A);
    EXPECT_EQ(out[1], 0xF9);
    EXPECT_EQ(HexToBytes("0g", 2, out), -1);
    EXPECT_EQ(HexToBytes("12", 4, out), -1);  // fewer digits than asked for
}

TEST(Helpers, FixedWidthNumbersPadAndRefuseWhatDoesNotFit) {
    LibraryEnv env;
    char out[16];
    ASSERT_EQ(NumToFixedWidth(125, out, 4), 0);
    EXPECT_STREQ(out, "0125");
    ASSERT_EQ(NumToFixedWidth(-5, out, 4), 0);
    EXPECT_STREQ(out, "-005");
    EXPECT_EQ(NumToFixedWidth(12345, out, 4), -1);
    EXPECT_EQ(NumToFixedWidth(1, out, 0), -1);
    std::string log = env.Log();
    EXPECT_NE(log.find("[0254]"), std::string::npos);
    EXPECT_NE(log.find("info:nMNumOut process err."), std::string::npos);
    EXPECT_NE(log.find("[0239]"), std::string::npos);
    EXPECT_NE(log.find("info:vnNumStrL is err."), std::string::npos);
}

TEST(Channels, KnownCodesHaveTheirNamesWhateverTheCase) {
    ASSERT_NE(FindChannel("wxp"), nullptr);
    EXPECT_EQ(FindChannel("wxp")->name, u"微信");
    EXPECT_EQ(FindChannel("YZF")->name, u"翼支付");
    EXPECT_EQ(FindChannel("ALP01")->name, u"支付宝");
    EXPECT_EQ(FindChannel("ABC"), nullptr);
    EXPECT_EQ(FindChannel("WX"), nullptr);
}

}  // namespace
}  // namespace zelvo
