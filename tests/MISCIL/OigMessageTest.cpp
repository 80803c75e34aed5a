#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/CodePage.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/MisMessages.h"
#include "MISCIL/OigMessage.h"
#include "tests/MISCIL/GatewayTestSupport.h"

namespace zelvo {
namespace {

using test::DemoCfg;
using test::LibraryEnv;
using test::Sha1Hex;
using Pairs = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kKey = "Zelvo0123456789abcdefDEMOKEY2026";

// Takes a request into the record the way the driver does before packing.
void Prepare(MisCilContext& context, const std::string& request) {
    ASSERT_EQ(nUnpackMisReq(context, request.c_str()), 0);
    SetFieldValue(context.record.saMerCode, "898310060110001");
    SetFieldValue(context.record.saAcqInsCode, "48020000");
    SetFieldValue(context.record.terminalid, "10000001");
    SetFieldValue(context.record.tradeFrom, "PC");
}

std::string Pack(MisCilContext& context, int* rc = nullptr) {
    char out[1024];
    size_t length = 0;
    int result = nPackOIGReq(context, out, sizeof out, length);
    if (rc != nullptr) *rc = result;
    return result == 0 ? std::string(out, length) : std::string();
}

std::string Body(const Pairs& pairs, const std::string& separator = ",") {
    std::string body = "{";
    for (const auto& [key, value] : pairs) {
        if (body.size() > 1) body += separator;
        body += "\"" + key + "\":\"" + value + "\"";
    }
    return body + "}";
}

std::string Framed(const std::string& body) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%04zu", body.size());
    return prefix + body;
}

// The signature an honest gateway puts on its answer.
std::string SignOf(Pairs pairs, const std::string& key = kKey) {
    std::sort(pairs.begin(), pairs.end());
    std::string text;
    for (const auto& [name, value] : pairs) text += (text.empty() ? "" : "&") + name + "=" + value;
    return Sha1Hex(text + key);
}

Pairs PurchaseAnswer(const std::string& respcd = "00") {
    return {{"txndir", "A"},           {"busicd", "PURC"}, {"respcd", respcd},
            {"inscd", "48020000"},     {"chcd", "WXP"},    {"mchntid", "898310060110001"},
            {"txamt", "000000001234"}, {"orderNum", "O1"}};
}

int Unpack(MisCilContext& context, const std::string& message) {
    return nUnpackOIGRsp(context, message.data(), message.size());
}

TEST(RequestEncoding, PurchaseKeysComeInFieldOrderWithTheSignatureLast) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    Prepare(context, test::PurchaseRequest("O1", "12.34"));
    std::string message = Pack(context);

    std::string signText =
        "busicd=PURC&chcd=SCT&currency=CNY&inscd=48020000&mchntid=898310060110001&orderNum=O1&"
        "scanCodeId=134567890123456789&terminalid=10000001&tradeFrom=PC&txamt=000000001234&"
        "txndir=Q" +
        std::string(kKey);
    std::string sign = Sha1Hex(signText);
    std::string body =
        "{\"txndir\":\"Q\",\"busicd\":\"PURC\",\"inscd\":\"48020000\",\"chcd\":\"SCT\","
        "\"mchntid\":\"898310060110001\",\"txamt\":\"000000001234\",\"orderNum\":\"O1\","
        "\"scanCodeId\":\"134567890123456789\",\"currency\":\"CNY\",\"terminalid\":\"10000001\","
        "\"tradeFrom\":\"PC\",\"sign\":\"" +
        sign + "\"}";
    EXPECT_EQ(message, Framed(body));
    EXPECT_STREQ(context.record.saSign, sign.c_str());
    EXPECT_EQ(context.signDebugText, "0" + std::to_string(signText.size()) + sign + signText);
    EXPECT_EQ(std::string(context.oigReq.text, context.oigReq.length), message);
}

TEST(RequestEncoding, AmountsBecomeTwelveDigitsOfFenOrAreRefused) {
    struct Case {
        const char* amount;
        int rc;
        const char* fen;
    };
    const Case cases[] = {
        {"12.345", MisCilError::AmountDecimals, ""},
        {"0.015", MisCilError::AmountDecimals, ""},
        {"0.5", 0, "000000000050"},
        {"12.3", 0, "000000001230"},
        {"12", 0, "000000001200"},
        {"", 0, "000000000000"},
        {"0.29", 0, "000000000029"},
        {"42949672.94", 0, "004294967294"},
        {"42949672.95", MisCilError::AmountTooLarge, ""},
        {"-1", MisCilError::AmountTooLarge, ""},
    };
    LibraryEnv env;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.amount);
        MisCilContext& context = env.Context();
        Prepare(context, test::PurchaseRequest("O1", c.amount));
        int rc = -1;
        std::string message = Pack(context, &rc);
        EXPECT_EQ(rc, c.rc);
        if (c.rc == 0) {
            EXPECT_NE(message.find(std::string("\"txamt\":\"") + c.fen + "\""), std::string::npos);
        }
    }
}

TEST(RequestEncoding, EmptyRequiredFieldsNameTheirIndex) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    int rc = 0;
    Prepare(context, test::PurchaseRequest("O1", "1", ""));
    Pack(context, &rc);
    EXPECT_EQ(rc, 10162);

    Prepare(context, test::MakeRequest(
                         {.orderNum = "R1", .txnType = "REFD", .channel = "WXP", .amount = "1"}));
    Pack(context, &rc);
    EXPECT_EQ(rc, 10142);

    Prepare(context,
            test::MakeRequest({.origOrderNum = "O1", .txnType = "INQY", .channel = "SCT"}));
    EXPECT_FALSE(Pack(context, &rc).empty());
    EXPECT_EQ(rc, 0);
}

TEST(RequestEncoding, WithoutAKeyTheRequestGoesUnsignedAndTheAnswerUnchecked) {
    MisCilCfg cfg = DemoCfg();
    cfg.MerKey.clear();
    LibraryEnv env(cfg);
    MisCilContext& context = env.Context();
    Prepare(context, test::PurchaseRequest("O1", "1"));
    std::string message = Pack(context);
    EXPECT_EQ(message.find("sign"), std::string::npos);
    EXPECT_NE(env.Log().find("[0703]"), std::string::npos);

    Pairs answer = PurchaseAnswer();
    answer.emplace_back("sign", "whatever");
    ASSERT_EQ(Unpack(context, Framed(Body(answer))), 0);
    EXPECT_EQ(nCheckSign(context), 0);
    EXPECT_NE(env.Log().find("[0900]"), std::string::npos);
}

TEST(RequestEncoding, ChineseTextTravelsAsUtf8AndIsSignedAsUtf8) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    Prepare(context, test::PurchaseRequest("O1", "1"));
    SetFieldValue(context.record.saOrderNum, Utf8ToGbk("单号·1"));
    std::string message = Pack(context);
    EXPECT_NE(message.find("\"orderNum\":\"单号·1\""), std::string::npos);
    std::string body = message.substr(4);
    EXPECT_EQ(message.substr(0, 4),
              std::to_string(body.size()).insert(0, 4 - std::to_string(body.size()).size(), '0'));
    EXPECT_NE(context.signDebugText.find("orderNum=" + Utf8ToGbk("单号·1")), std::string::npos);
}

TEST(RequestEncoding, SystemCodePageCharsetSendsGbkAndLogsTheCharsetEvent) {
    MisCilCfg cfg = DemoCfg();
    cfg.Charset = "2";
    LibraryEnv env(cfg);
    MisCilContext& context = env.Context();
    Prepare(context, test::PurchaseRequest("O1", "1"));
    SetFieldValue(context.record.saOrderNum, Utf8ToGbk("单号"));
    std::string message = Pack(context);
    EXPECT_NE(message.find("\"orderNum\":\"" + Utf8ToGbk("单号") + "\""), std::string::npos);
    EXPECT_NE(env.Log().find("err:50, info:中文编码方式 config err."), std::string::npos);
}

TEST(AnswerDecoding, PairsSplitOnlyWhereAQuoteTouchesTheComma) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    Pairs answer = PurchaseAnswer("05");
    answer.emplace_back("errorDetail", "card,declined");
    ASSERT_EQ(Unpack(context, Framed(Body(answer, ", "))), 0);
    EXPECT_STREQ(context.record.saTxnType, "PURC");
    EXPECT_STREQ(context.record.saRespCode, "05");
    EXPECT_STREQ(context.record.saErrDetail, "card,declined");
    EXPECT_STREQ(context.record.saOigTransAmtStr, "12.34");
}

TEST(AnswerDecoding, AQuoteInsideAValueCutsIt) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    std::string body = Body(PurchaseAnswer("05"));
    body.insert(body.size() - 1, ",\"errorDetail\":\"say \"hi\" now\"");
    ASSERT_EQ(Unpack(context, Framed(body)), 0);
    EXPECT_STREQ(context.record.saErrDetail, "say ");
}

TEST(AnswerDecoding, ChannelMayLackOnlyWhenTheAnswerIsNeitherSuccessNorPending) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    for (const char* code : {"01", "00", "09"}) {
        SCOPED_TRACE(code);
        Pairs answer = PurchaseAnswer(code);
        std::erase_if(answer, [](const auto& pair) { return pair.first == "chcd"; });
        int expected = std::string(code) == "01" ? 0 : 10052;
        EXPECT_EQ(Unpack(context, Framed(Body(answer))), expected);
    }
    Pairs noRespcd = PurchaseAnswer();
    std::erase_if(noRespcd, [](const auto& pair) { return pair.first == "respcd"; });
    EXPECT_EQ(Unpack(context, Framed(Body(noRespcd))), 10032);
}

TEST(AnswerDecoding, MalformedFramesAreRefusedWithTheirCodes) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    std::string good = Framed(Body(PurchaseAnswer()));
    EXPECT_EQ(Unpack(context, ""), MisCilError::BadAnswer);
    EXPECT_EQ(nUnpackOIGRsp(context, nullptr, 5), MisCilError::BadAnswer);
    EXPECT_EQ(Unpack(context, std::string(1025, '{')), MisCilError::BadAnswer);
    EXPECT_EQ(Unpack(context, "0010 {\"a\":\"b\"}"), MisCilError::NoBraces);
    EXPECT_EQ(Unpack(context, good.substr(0, good.size() - 1)), MisCilError::NoBraces);
    EXPECT_EQ(Unpack(context, "{"), MisCilError::NoBraces);
    EXPECT_EQ(Unpack(context, good), 0);
}

TEST(AnswerDecoding, ValuesAreCutToTheirFieldsAndTheLastOfTwoKeysWins) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    Pairs answer = PurchaseAnswer();
    answer[4].second = "WXPXYZ";
    answer.emplace_back("respcd", "09");
    answer.emplace_back("errorDetail", std::string(600, 'e'));
    answer.emplace_back("unknownKey", "ignored");
    ASSERT_EQ(Unpack(context, Framed(Body(answer))), 0);
    EXPECT_STREQ(context.record.saChannelCode, "WXPXY");
    EXPECT_STREQ(context.record.saRespCode, "09");
    EXPECT_EQ(std::string(context.record.saErrDetail), std::string(512, 'e'));
}

TEST(AnswerDecoding, Utf8TextArrivesInTheSystemCodePage) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    Pairs answer = PurchaseAnswer("51");
    answer.emplace_back("errorDetail", "余额不足");
    ASSERT_EQ(Unpack(context, Framed(Body(answer))), 0);
    EXPECT_EQ(std::string(context.record.saErrDetail), Utf8ToGbk("余额不足"));
}

TEST(AnswerDecoding, ACharacterWhoseSecondByteIsABraceDoesNotEndTheBody) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    // "題" is EE 7D in the system code page: its second byte is "}".
    Pairs answer = PurchaseAnswer();
    answer.insert(answer.end() - 1, {"errorDetail", "沒有問題"});
    ASSERT_EQ(Utf8ToGbk("題"), "\xEE\x7D");
    ASSERT_EQ(Unpack(context, Framed(Body(answer))), 0);
    EXPECT_EQ(std::string(context.record.saErrDetail), Utf8ToGbk("沒有問題"));
    EXPECT_STREQ(context.record.saOrderNum, "O1");

    // A body that has no closing brace of its own is still refused.
    EXPECT_EQ(Unpack(context, Framed("{\"errorDetail\":\"問題")), MisCilError::NoBraces);
}

TEST(AnswerSignature, AnHonestSignatureIsAcceptedEvenOverChineseText) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    Pairs answer = PurchaseAnswer();
    answer.emplace_back("consumerAccount", "张三·账户");
    answer.emplace_back("sign", SignOf(answer));
    ASSERT_EQ(Unpack(context, Framed(Body(answer))), 0);
    EXPECT_EQ(nCheckSign(context), 0);
}

TEST(AnswerSignature, UppercaseWrongLengthAndForeignKeysAreRefused) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    Pairs answer = PurchaseAnswer();
    std::string sign = SignOf(answer);
    for (char& c : sign) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    answer.emplace_back("sign", sign);
    ASSERT_EQ(Unpack(context, Framed(Body(answer))), 0);
    EXPECT_EQ(nCheckSign(context), MisCilError::SignCheck);
    EXPECT_NE(env.Log().find("[0917]"), std::string::npos);

    answer.back().second = SignOf(PurchaseAnswer(), "another key");
    ASSERT_EQ(Unpack(context, Framed(Body(answer))), 0);
    EXPECT_EQ(nCheckSign(context), MisCilError::SignCheck);

    answer.back().second = "abc";
    ASSERT_EQ(Unpack(context, Framed(Body(answer))), 0);
    EXPECT_EQ(nCheckSign(context), MisCilError::SignCheck);
    EXPECT_NE(env.Log().find("err: 3, info:response message sign lenght error, the sgin is:abc."),
              std::string::npos);
}

TEST(AnswerSignature, AnAnswerInTheWrongDirectionCannotBeVerified) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    Pairs answer = PurchaseAnswer();
    answer[0].second = "X";
    answer.emplace_back("sign", SignOf(answer));
    ASSERT_EQ(Unpack(context, Framed(Body(answer))), 0);
    EXPECT_EQ(nCheckSign(context), MisCilError::SignCheck);
    std::string log = env.Log();
    EXPECT_NE(log.find("info:txndir err."), std::string::npos);
    EXPECT_NE(log.find("[0912]"), std::string::npos);
}

TEST(ContextConfiguration, EachContextChecksWithItsOwnKey) {
    LibraryEnv env;
    MisCilContext own;
    InitFieldTables(own);
    own.cfg.MerKey = "another key";
    Pairs answer = PurchaseAnswer();
    answer.emplace_back("sign", SignOf(PurchaseAnswer(), "another key"));
    ASSERT_EQ(Unpack(own, Framed(Body(answer))), 0);
    EXPECT_EQ(nCheckSign(own), 0);
    ASSERT_EQ(Unpack(env.Context(), Framed(Body(answer))), 0);
    EXPECT_EQ(nCheckSign(env.Context()), MisCilError::SignCheck);
}

TEST(ContextConfiguration, LoadingReachesTheProcessContextAndLaterContexts) {
    LibraryEnv env;
    MisCilCfg cfg = DemoCfg();
    cfg.MerKey = "another key";
    cfg.WaitTime = "7";
    ASSERT_EQ(nLoadCfg(cfg), 0);
    EXPECT_EQ(env.Context().cfg.MerKey, "another key");
    EXPECT_EQ(env.Context().settings.waitTime, 7);
    MisCilContext later;
    EXPECT_EQ(later.cfg.MerKey, "another key");
    EXPECT_EQ(later.settings.waitTime, 7);
}

TEST(Signature, ATextThatWouldReachTheBufferIsRefused) {
    LibraryEnv env;
    MisCilContext& context = env.Context();
    SetFieldValue(context.record.saTxndir, "Q");
    SetFieldValue(context.record.saErrDetail, std::string(512, 'a'));
    SetFieldValue(context.record.saGoodsInfo, std::string(512, 'g'));
    for (int n = 1; n <= 24; ++n) SetBitmapBit(context.requestBitmap.data(), n);
    char sign[41];
    EXPECT_EQ(nCalcSign(context, sign), -1);
    EXPECT_NE(env.Log().find("info:text buf len err2."), std::string::npos);

    // Short values but a key that no longer fits after them.
    context.requestBitmap = {};
    for (int n : {1, 8, 12}) SetBitmapBit(context.requestBitmap.data(), n);
    SetFieldValue(context.record.saGoodsInfo, std::string(460, 'g'));
    EXPECT_EQ(nCalcSign(context, sign), -1);
    EXPECT_NE(env.Log().find("info:text buf len err3."), std::string::npos);
}

}  // namespace
}  // namespace zelvo
