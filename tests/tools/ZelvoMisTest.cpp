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
