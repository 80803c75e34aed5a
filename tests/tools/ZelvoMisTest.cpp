#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <string>

#include "tests/MISCIL/GatewayTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/tools/ProcessRunner.h"
#include "tools/gateway-sim/GatewaySim.h"

namespace zelvo {
namespace {

using test::RunProcess;

// A till's working folder: the delivered database pointed at a simulator on a free port.
class ZelvoMisExchange : public testing::Test {
protected:
    ZelvoMisExchange() : m_sim(sim::SimOptions{.port = 0}) {
        m_sim.SetLineSink([](const std::string&) {});
        EXPECT_TRUE(m_sim.Start());
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        PointAt(m_sim.Port());
    }
    void PointAt(int port) {
        test::RunSql(m_dir.Path() / "MISData.db",
                     "update SysConfig set Value = '" + std::to_string(port) +
                         "' where Name = 'ServerPort';"
                         "update SysConfig set Value = '10' where Name = 'WaitTime';");
    }
    test::ProcessResult Run(const std::string& input) {
        return RunProcess({ZELVO_MIS_EXECUTABLE, "exchange", "--operator", "01"}, input);
    }
    std::string Log() { return test::ReadFile(m_dir.Path() / "logfile.txt"); }

    test::ScopedWorkDir m_dir;
    sim::GatewaySim m_sim;
};

TEST_F(ZelvoMisExchange, APurchaseAnswersTheFixedWidthResponseAndWritesTheSlip) {
    test::ProcessResult result = Run(test::PurchaseRequest("MIS1", "8.80") + "\r\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ASSERT_EQ(result.out.size(), 1507u);
    EXPECT_EQ(result.out.substr(0, 5), "MIS1 ");
    EXPECT_EQ(result.out.substr(64, 5), "8.80 ");
    EXPECT_EQ(result.out.substr(76, 2), "00");
    EXPECT_EQ(result.out.substr(1502), "WXP  ");
    EXPECT_TRUE(std::filesystem::exists(m_dir.Path() / "SCprint.txt"));
    std::string log = Log();
    EXPECT_EQ(log.size(), 11u);  // "[YYYYMMDD]\n" and nothing else
    EXPECT_EQ(log.front(), '[');
}

TEST_F(ZelvoMisExchange, AWronglySignedAnswerStillCompletesButIsLogged) {
    test::ProcessResult result = Run(test::PurchaseRequest("MIS2", "8.98"));
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.substr(78, 18), "&RSP_AUTH_NO_ERROR");
    EXPECT_NE(Log().find("[1597]"), std::string::npos);
    EXPECT_NE(Log().find("call nCheckSign failed from Rsp"), std::string::npos);
}

TEST_F(ZelvoMisExchange, FailuresAnswerErrorAndTheCodeOnStandardError) {
    test::ProcessResult result = Run("too short\n");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "error 4\n");
    EXPECT_EQ(result.out, "");

    PointAt(test::ClosedPort());
    result = Run(test::PurchaseRequest("MIS3", "1.00"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("error 14\n"), std::string::npos);
    EXPECT_EQ(result.out, "");

    result = RunProcess({ZELVO_MIS_EXECUTABLE}, "");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("usage: zelvo-mis exchange"), std::string::npos);
}

// A whole payment, and the reconciliation of what a run left open, from the command line.
class ZelvoMisPay : public ZelvoMisExchange {
protected:
    test::ProcessResult Pay(const std::string& amount) {
        return RunProcess({ZELVO_MIS_EXECUTABLE, "pay", "--amount", amount, "--code",
                           "134567890123456789", "--operator", "05", "--query-interval", "0.05"},
                          "");
    }
    test::ProcessResult Reconcile() { return RunProcess({ZELVO_MIS_EXECUTABLE, "reconcile"}, ""); }
    std::string Sql(const std::string& sql) {
        return test::QueryText(m_dir.Path() / "MISData.db", sql);
    }
    void SetWaitTime(int seconds) {
        test::RunSql(m_dir.Path() / "MISData.db", "update SysConfig set Value = '" +
                                                      std::to_string(seconds) +
                                                      "' where Name = 'WaitTime';");
    }
    // An order the gateway holds, journalled as a run that ended before its outcome left it.
    void LeaveOpen(const std::string& order, const std::string& amount) {
        ASSERT_EQ(Run(test::PurchaseRequest(order, amount)).exitCode, 0);
        test::RunSql(m_dir.Path() / "MISData.db",
                     "insert into TBL_ORDER_JOURNAL(ORDER_NUM, TRANS_CODE, TRANS_AMT_TEXT, "
                     "OPER_ID, SENT_TIME, STATE) values('" + order + "', 'PURC', '" + amount +
                         "', '05', '2026-03-15 10:00:00', 'open')");
    }
};

TEST_F(ZelvoMisPay, PaidRefusedAndWaitingPaymentsEndWithTheirLine) {
    test::ProcessResult result = Pay("12.30");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ASSERT_EQ(result.out.rfind("paid ", 0), 0u) << result.out;
    const std::string order = result.out.substr(5, 23);
    EXPECT_EQ(Sql("select OPER_ID || '|' || TRANS_AMT from TBL_TRANS_LOG where ORDER_NUM = '" +
                  order + "'"),
              "05|12.3");
    EXPECT_NE(result.err.find("支付成功！"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(m_dir.Path() / "SCprint.txt"));

    result = Pay("3.92");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out.rfind("not paid 2", 0), 0u) << result.out;

    // The customer confirms on the phone after two queries.
    result = Pay("8.91");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Sql("select count(*) from TBL_TRANS_LOG"), "2");
    EXPECT_EQ(Sql("select group_concat(STATE) from TBL_ORDER_JOURNAL"), "paid,notpaid,paid");

    EXPECT_EQ(RunProcess({ZELVO_MIS_EXECUTABLE, "pay", "--amount", "1"}, "").exitCode, 2);
    for (const char* interval : {"x", "0", "0.01", "3601"}) {
        EXPECT_EQ(RunProcess({ZELVO_MIS_EXECUTABLE, "pay", "--amount", "1", "--code",
                              "1234567890", "--query-interval", interval},
                             "")
                      .exitCode,
                  2)
            << interval;
    }
    // Nothing was sent for any of them.
    EXPECT_EQ(Sql("select count(*) from TBL_ORDER_JOURNAL"), "3");
}

TEST_F(ZelvoMisPay, ACustomerWhoNeverConfirmsIsCancelledAfterTheWaitingTime) {
    sim::SimOptions options{.port = 0};
    options.rules.pendingQueries = 100;
    sim::GatewaySim patient(options);
    patient.SetLineSink([](const std::string&) {});
    ASSERT_TRUE(patient.Start());
    PointAt(patient.Port());
    SetWaitTime(1);
    test::ProcessResult result = Pay("8.91");
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_EQ(Sql("select STATE from TBL_ORDER_JOURNAL"), "cancelled");
    EXPECT_EQ(Sql("select count(*) from TBL_TRANS_LOG"), "0");
}

TEST_F(ZelvoMisPay, ReconcileRecordsPaidOrdersOnceAndCancelsOpenOnes) {
    LeaveOpen("R1", "8.80");
    LeaveOpen("R2", "8.91");  // the customer is still paying
    test::ProcessResult result = Reconcile();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "recorded PURC R1 8.80 00\ncancelled PURC R2 8.91 00\n0 open\n");
    EXPECT_EQ(Sql("select ORDER_NUM || '|' || OPER_ID || '|' || TRANS_AMT from TBL_TRANS_LOG"),
              "R1|05|8.8");

    result = Reconcile();
    EXPECT_EQ(result.out, "0 open\n");
    EXPECT_EQ(Sql("select count(*) from TBL_TRANS_LOG"), "1");
}

TEST(ZelvoMisProgram, AFolderWithoutTheDatabaseIsAnErrorAndNothingIsWritten) {
    test::ScopedWorkDir dir;
    test::ProcessResult result =
        RunProcess({ZELVO_MIS_EXECUTABLE, "exchange"}, test::PurchaseRequest("MIS4", "1.00"));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "打开数据库失败，请更换目录试试！\n");
    EXPECT_EQ(result.out, "");
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(GatewaySimProgram, ServesOnTheGivenPortAndStopsCleanlyOnSigterm) {
    test::ScopedWorkDir dir;
    test::BackgroundProcess program({GATEWAY_SIM_EXECUTABLE, "--port", "0"});
    std::string banner = program.ReadLine();
    ASSERT_EQ(banner.rfind("gateway-sim listening on 127.0.0.1:", 0), 0u) << banner;
    int port = std::stoi(banner.substr(banner.rfind(':') + 1));

    test::MakeDeliveredDatabase(dir.Path() / "MISData.db");
    test::RunSql(
        dir.Path() / "MISData.db",
        "update SysConfig set Value = '" + std::to_string(port) + "' where Name = 'ServerPort';");
    test::ProcessResult result =
        RunProcess({ZELVO_MIS_EXECUTABLE, "exchange"}, test::PurchaseRequest("G1", "3.00"));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(program.ReadLine().find("PURC 00 order=G1"), std::string::npos);

    EXPECT_EQ(program.Stop(SIGTERM), 0);
}

TEST(GatewaySimProgram, HelpDocumentsTheOptions) {
    test::ProcessResult result = RunProcess({GATEWAY_SIM_EXECUTABLE, "--help"}, "");
    EXPECT_EQ(result.exitCode, 0);
    for (const char* option : {"--port", "--key", "--charset", "--rule", "--pending", "--always"}) {
        EXPECT_NE(result.out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(RunProcess({GATEWAY_SIM_EXECUTABLE, "--bogus", "1"}, "").exitCode, 2);
}

}  // namespace
}  // namespace zelvo
