#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include <string>
#include <vector>

#include "base/CodePage.h"
#include "MISCIL/MisCil.h"
#include "tests/MISCIL/GatewayTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tools/gateway-sim/GatewaySim.h"
#include "tools/gateway-sim/SimCodec.h"

namespace zelvo {
namespace {

using sim::GatewaySim;
using sim::SimOptions;

// A simulator on a free port and the library pointed at it, in a fresh working folder.
class SimExchange : public testing::Test {
protected:
    explicit SimExchange(SimOptions options = SimOptions{}) : m_sim(WithFreePort(options)) {
        m_sim.SetLineSink([this](const std::string& line) { m_lines.push_back(line); });
        EXPECT_TRUE(m_sim.Start());
        MisCilCfg cfg = test::DemoCfg(m_sim.Port());
        cfg.Charset = options.charset;
        m_env = std::make_unique<test::LibraryEnv>(cfg);
    }
    ~SimExchange() override {
        m_env.reset();
        m_sim.Stop();
    }
    static SimOptions WithFreePort(SimOptions options) {
        options.port = 0;
        return options;
    }

    const TransRecord& Record() { return m_env->Context().record; }
    int Purchase(const std::string& order, const std::string& amount,
                 const std::string& code = "134567890123456789") {
        return MisCilExchange(test::PurchaseRequest(order, amount, code).c_str());
    }
    int Query(const std::string& order, const std::string& origType = "PURC") {
        return MisCilExchange(test::MakeRequest({.origOrderNum = order,
                                                 .txnType = "INQY",
                                                 .origTxnType = origType,
                                                 .channel = "SCT"})
                                  .c_str());
    }
    int Refund(const std::string& order, const std::string& orig, const std::string& amount) {
        return MisCilExchange(test::MakeRequest({.orderNum = order,
                                                 .origOrderNum = orig,
                                                 .txnType = "REFD",
                                                 .channel = "WXP",
                                                 .amount = amount})
                                  .c_str());
    }
    int Cancel(const std::string& order, const std::string& orig) {
        return MisCilExchange(
            test::MakeRequest(
                {.orderNum = order, .origOrderNum = orig, .txnType = "CANC", .channel = "SCT"})
                .c_str());
    }

    GatewaySim m_sim;
    std::vector<std::string> m_lines;
    std::unique_ptr<test::LibraryEnv> m_env;
};

TEST_F(SimExchange, APurchaseIsPaidSignedAndLeavesOnlyTheDateLineInTheLog) {
    ASSERT_EQ(Purchase("P1", "12.34"), 1);
    EXPECT_STREQ(Record().saRespCode, "00");
    EXPECT_STREQ(Record().saChannelCode, "WXP");
    EXPECT_STREQ(Record().saOigTransAmtStr, "12.34");
    EXPECT_EQ(std::string(Record().saAcctNum).size(), 28u);
    EXPECT_EQ(std::string(Record().saSign).size(), 40u);
    EXPECT_EQ(m_env->Log(), "[20" + m_env->Log().substr(3, 6) + "]\n");
    EXPECT_TRUE(std::filesystem::exists(m_env->Dir() / "SCprint.txt"));
    ASSERT_EQ(m_lines.size(), 1u);
    EXPECT_NE(m_lines[0].find("PURC 00 order=P1 fen=1234 chcd=WXP"), std::string::npos);

    std::string response(m_env->Context().misRsp.text, m_env->Context().misRsp.length);
    ASSERT_EQ(response.size(), 1507u);
    EXPECT_EQ(response.substr(0, 3), "P1 ");
    EXPECT_EQ(response.substr(76, 2), "00");
    EXPECT_EQ(response.substr(1502, 5), "WXP  ");
}

TEST_F(SimExchange, ThePaymentCodeChoosesTheChannel) {
    ASSERT_EQ(Purchase("P1", "1.00", "284567890123456789"), 1);
    EXPECT_STREQ(Record().saChannelCode, "ALP");
    ASSERT_EQ(Purchase("P2", "1.00", "624567890123456789"), 1);
    EXPECT_STREQ(Record().saChannelCode, "YLP");
    ASSERT_EQ(Purchase("P3", "1.00", "994567890123456789"), 1);
    EXPECT_STREQ(Record().saRespCode, "14");
    EXPECT_EQ(std::string(Record().saErrDetail), Utf8ToGbk("付款码无效"));
}

TEST_F(SimExchange, APendingPaymentAnswersInProgressUntilItsQueriesAreUsedUp) {
    ASSERT_EQ(Purchase("P1", "5.91"), 1);
    EXPECT_STREQ(Record().saRespCode, "09");
    ASSERT_EQ(Query("P1"), 1);
    EXPECT_STREQ(Record().saRespCode, "09");
    ASSERT_EQ(Query("P1"), 1);
    EXPECT_STREQ(Record().saRespCode, "09");
    ASSERT_EQ(Query("P1"), 1);
    EXPECT_STREQ(Record().saRespCode, "00");
    EXPECT_STREQ(Record().saOrigOrderNum, "P1");
    EXPECT_STREQ(Record().saOigTransAmtStr, "5.91");
    ASSERT_EQ(Query("NOPE"), 1);
    EXPECT_STREQ(Record().saRespCode, "25");
}

TEST_F(SimExchange, CancelClosesOnlyAnOpenOrder) {
    ASSERT_EQ(Purchase("P1", "5.91"), 1);
    ASSERT_EQ(Cancel("C1", "P1"), 1);
    EXPECT_STREQ(Record().saRespCode, "00");
    ASSERT_EQ(Query("P1"), 1);
    EXPECT_STREQ(Record().saRespCode, "54");

    ASSERT_EQ(Purchase("P2", "3.00"), 1);
    ASSERT_EQ(Cancel("C2", "P2"), 1);
    EXPECT_STREQ(Record().saRespCode, "12");
}

TEST_F(SimExchange, RefundsNeverExceedWhatWasPaid) {
    ASSERT_EQ(Purchase("P1", "10.00"), 1);
    ASSERT_EQ(Refund("R1", "P1", "6.00"), 1);
    EXPECT_STREQ(Record().saRespCode, "00");
    ASSERT_EQ(Refund("R2", "P1", "4.01"), 1);
    EXPECT_STREQ(Record().saRespCode, "13");
    ASSERT_EQ(Refund("R3", "P1", "4.00"), 1);
    EXPECT_STREQ(Record().saRespCode, "00");
    // A refund is queried by its own order number.
    ASSERT_EQ(Query("R3", "REFD"), 1);
    EXPECT_STREQ(Record().saRespCode, "00");
    EXPECT_STREQ(Record().saOigTransAmtStr, "4.00");
    ASSERT_EQ(Refund("R4", "MISSING", "1.00"), 1);
    EXPECT_STREQ(Record().saRespCode, "25");
}

TEST_F(SimExchange, FaultRulesReachTheLibraryAsTheirFailures) {
    EXPECT_EQ(Purchase("P1", "1.92"), 1);
    EXPECT_STREQ(Record().saRespCode, "51");
    EXPECT_EQ(Purchase("P2", "1.95"), 1);  // split into pieces
    EXPECT_STREQ(Record().saRespCode, "00");
    EXPECT_EQ(Purchase("P3", "1.96"), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::BadAnswer);
    EXPECT_EQ(Purchase("P4", "1.97"), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::NoBraces);
    EXPECT_EQ(Purchase("P5", "1.99"), 0);
    EXPECT_EQ(MisCilLastError(), 10052);
    EXPECT_EQ(Purchase("P6", "1.98"), 1);
    EXPECT_STREQ(Record().saErrDetail, "&RSP_AUTH_NO_ERROR");
    EXPECT_NE(m_env->Log().find("[1597]"), std::string::npos);
    EXPECT_NE(m_env->Log().find("info:call nCheckSign failed from Rsp."), std::string::npos);
}

TEST_F(SimExchange, ASilentOrClosingGatewayEndsInTheTimeoutAndTheOrderCanBeQueried) {
    ASSERT_EQ(nLoadCfg(test::QuickTimeoutCfg(m_sim.Port())), 0);
    EXPECT_EQ(Purchase("P1", "1.93"), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::Timeout);
    EXPECT_STREQ(Record().saRespCode, "98");
    ASSERT_EQ(Query("P1"), 1);
    EXPECT_STREQ(Record().saRespCode, "00");
    EXPECT_EQ(Purchase("P2", "1.94"), 0);
    EXPECT_EQ(MisCilLastError(), MisCilError::Timeout);
}

class SimExchangeWithAnotherKey : public SimExchange {
protected:
    SimExchangeWithAnotherKey() : SimExchange(SimOptions{.key = "other key"}) {}
};

TEST_F(SimExchangeWithAnotherKey, ARequestSignedWithAnotherKeyIsRefused) {
    ASSERT_EQ(Purchase("P1", "1.00"), 1) << MisCilLastError();
    EXPECT_STREQ(Record().saRespCode, "A0");
    EXPECT_EQ(std::string(Record().saErrDetail), Utf8ToGbk("签名错误"));
}

class SimExchangeInGbk : public SimExchange {
protected:
    SimExchangeInGbk() : SimExchange(SimOptions{.charset = "2"}) {}
};

TEST_F(SimExchangeInGbk, BodiesInTheSystemCodePageWorkBothWays) {
    ASSERT_EQ(Purchase("P1", "2.00"), 1);
    EXPECT_STREQ(Record().saRespCode, "00");
    ASSERT_EQ(Purchase("P2", "2.92"), 1);
    EXPECT_EQ(std::string(Record().saErrDetail), Utf8ToGbk("余额不足"));
}

// In the temporary folder, named for the process so that runs never meet.
std::string BookPath() {
    return (std::filesystem::temp_directory_path() /
            ("zelvo-sim-book-" + std::to_string(getpid()) + ".tsv"))
        .string();
}

class SimExchangeWithBook : public SimExchange {
protected:
    SimExchangeWithBook() : SimExchange(SimOptions{.bookFile = BookPath()}) {}
    ~SimExchangeWithBook() override { std::filesystem::remove(BookPath()); }
    std::string Book() { return test::ReadFile(BookPath()); }
};

TEST_F(SimExchangeWithBook, TheBookFollowsEveryChangeOfAnOrder) {
    EXPECT_EQ(Book(), "order\tkind\tamount\tstate\trefunded\n");
    ASSERT_EQ(Purchase("P1", "5.91"), 1);
    ASSERT_EQ(Purchase("P2", "12.30"), 1);
    ASSERT_EQ(Purchase("P3", "1.92"), 1);
    EXPECT_EQ(Book(),
              "order\tkind\tamount\tstate\trefunded\n"
              "P1\tpurchase\t5.91\topen\t0.00\n"
              "P2\tpurchase\t12.30\tpaid\t0.00\n"
              "P3\tpurchase\t1.92\trefused\t0.00\n");
    ASSERT_EQ(Cancel("C1", "P1"), 1);
    ASSERT_EQ(Refund("R1", "P2", "2.30"), 1);
    EXPECT_EQ(Book(),
              "order\tkind\tamount\tstate\trefunded\n"
              "P1\tpurchase\t5.91\tcancelled\t0.00\n"
              "P2\tpurchase\t12.30\tpaid\t2.30\n"
              "P3\tpurchase\t1.92\trefused\t0.00\n"
              "R1\trefund\t2.30\tpaid\t0.00\n");
}

TEST(SimOptions, DefaultsMatchTheDemoDatabaseAndBadOptionsAreRefused) {
    std::string error;
    std::vector<const char*> plain = {"gateway-sim"};
    auto options = sim::ParseSimOptions(1, const_cast<char**>(plain.data()), error);
    ASSERT_TRUE(options);
    EXPECT_EQ(options->port, 17601);
    EXPECT_EQ(options->key, "Zelvo0123456789abcdefDEMOKEY2026");

    std::vector<const char*> rules = {
        "gateway-sim", "--rule", "12=refuse:05:no", "--rule", "code:77=silent", "--pending", "0",
        "--rule",      "13=pending:40"};
    options = sim::ParseSimOptions(9, const_cast<char**>(rules.data()), error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->rules.For(213, "13").pendingQueries, 40);
    EXPECT_EQ(options->rules.For(112, "13").action, sim::SimAction::Refuse);
    EXPECT_EQ(options->rules.For(100, "7712").action, sim::SimAction::Silent);
    EXPECT_EQ(options->rules.pendingQueries, 0);

    for (std::vector<const char*> bad :
         std::vector<std::vector<const char*>>{{"gateway-sim", "--port", "70000"},
                                               {"gateway-sim", "--rule", "123=silent"},
                                               {"gateway-sim", "--rule", "12=explode"},
                                               {"gateway-sim", "--rule", "12=pending:x"},
                                               {"gateway-sim", "--charset", "3"},
                                               {"gateway-sim", "--port"}}) {
        EXPECT_FALSE(sim::ParseSimOptions(static_cast<int>(bad.size()),
                                          const_cast<char**>(bad.data()), error));
    }
}

TEST(SimCodec, ParsesWhatItBuildsAndRefusesWhatIsNoObject) {
    sim::SimPairs pairs = {{"a", "1"}, {"b", "x,y"}};
    EXPECT_EQ(sim::ParseBody(sim::BuildBody(pairs)), pairs);
    EXPECT_FALSE(sim::ParseBody("{\"a\":1}"));
    EXPECT_FALSE(sim::ParseBody("{\"a\""));
    EXPECT_FALSE(sim::ParseBody("[]"));
    EXPECT_EQ(sim::Frame("{}"), "0002{}");
}

}  // namespace
}  // namespace zelvo
