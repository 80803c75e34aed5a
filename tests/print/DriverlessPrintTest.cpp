#include <fcntl.h>
#include <pty.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "PrintTestSupport.h"
#include "base/CodePage.h"
#include "print/PrintFailure.h"
#include "print/PrintJob.h"
#include "print/PrintSettings.h"
#include "print/PrintWorker.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

PrintSettings DriverlessTo(const std::string& device) {
    PrintSettings settings;
    settings.PrintMerPage = "1";
    settings.PrintCustPage = "1";
    settings.PrintName = u"无驱动打印";
    settings.SerialPort = Utf8ToUtf16(device);
    return settings;
}

void Touch(const std::string& name) {
    std::ofstream(name, std::ios::binary);
}

class DriverlessPrint : public ::testing::Test {
protected:
    test::ScopedWorkDir m_dir;
    test::RecordingFailureSink m_failures;
};

TEST_F(DriverlessPrint, EachLineReachesTheDeviceAsGbkFollowedByCrLf) {
    Touch("printer-port.txt");
    test::WriteSlipFile("SCprint.txt", {u"   签购单", u"", u"金额：RMB  12.50"});
    PrintSettings settings = DriverlessTo("printer-port.txt");
    PrintWorker(settings);
    EXPECT_EQ(test::ReadFile("printer-port.txt"),
              Utf8ToGbk("   签购单") + "\r\n\r\n" + Utf8ToGbk("金额：RMB  12.50") + "\r\n");
    EXPECT_EQ(Utf8ToGbk("签购单"), "\xC7\xA9\xB9\xBA\xB5\xA5");
    EXPECT_TRUE(m_failures.Texts().empty());
}

TEST_F(DriverlessPrint, LaterJobsFollowEarlierOutputOnTheSameFile) {
    Touch("printer-port.txt");
    PrintSettings settings = DriverlessTo("printer-port.txt");
    test::WriteSlipFile("SCprint.txt", {u"first"});
    PrintWorker(settings);
    test::WriteSlipFile("SCprint.txt", {u"second"});
    PrintWorker(settings);
    EXPECT_EQ(test::ReadFile("printer-port.txt"), "first\r\nsecond\r\n");
}

TEST_F(DriverlessPrint, MissingDeviceReportsPrintFailureAndCreatesNothing) {
    test::WriteSlipFile("SCprint.txt", {u"line"});
    PrintSettings settings = DriverlessTo("LPT1:");
    PrintWorker(settings);
    EXPECT_EQ(m_failures.Texts(), std::vector<std::u16string>{u"打印失败"});
    EXPECT_FALSE(std::filesystem::exists("LPT1:"));
}

TEST_F(DriverlessPrint, DeviceHeldByAnotherJobIsNotShared) {
    Touch("printer-port.txt");
    test::WriteSlipFile("SCprint.txt", {u"line"});
    const int holder = ::open("printer-port.txt", O_RDWR);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    PrintSettings settings = DriverlessTo("printer-port.txt");
    PrintWorker(settings);
    ::close(holder);
    EXPECT_EQ(m_failures.Texts(), std::vector<std::u16string>{u"打印失败"});
    EXPECT_EQ(test::ReadFile("printer-port.txt"), "");
}

TEST_F(DriverlessPrint, DeviceThatStopsTakingBytesReportsPrintFailure) {
    // A pipe nobody reads takes 64 KiB and then no more: the job gives up instead of hanging.
    ASSERT_EQ(::mkfifo("stalled-port", 0600), 0);
    test::WriteSlipFile("SCprint.txt", std::vector<std::u16string>(200, std::u16string(500, u'x')));
    PrintSettings settings = DriverlessTo("stalled-port");
    PrintWorker(settings);
    EXPECT_EQ(m_failures.Texts(), std::vector<std::u16string>{u"打印失败"});
}

TEST_F(DriverlessPrint, MissingPrintFileGivesNoOutputAndNoMessage) {
    Touch("printer-port.txt");
    PrintSettings settings = DriverlessTo("printer-port.txt");
    PrintWorker(settings);
    EXPECT_EQ(test::ReadFile("printer-port.txt"), "");
    EXPECT_TRUE(m_failures.Texts().empty());
}

TEST_F(DriverlessPrint, BothCopiesOffPrintsNothingEvenWithoutADevice) {
    test::WriteSlipFile("SCprint.txt", {u"结算"});
    PrintSettings settings = DriverlessTo("LPT1:");
    settings.PrintMerPage = "0";
    settings.PrintCustPage = "0";
    PrintWorker(settings);
    EXPECT_TRUE(m_failures.Texts().empty());
}

TEST_F(DriverlessPrint, PseudoTerminalReceivesTheBytesUnaltered) {
    int master = -1;
    int slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    test::WriteSlipFile("SCprint.txt", {u"商户名称：演示", u"RMB"});
    PrintSettings settings = DriverlessTo(name);
    PrintWorker(settings);
    ::close(slave);

    std::string received;
    char buffer[512];
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) received.append(buffer, n);
    ::close(master);
    // No CR is inserted before LF: the line discipline is switched to raw output.
    EXPECT_EQ(received, Utf8ToGbk("商户名称：演示") + "\r\nRMB\r\n");
    EXPECT_TRUE(m_failures.Texts().empty());
}

TEST_F(DriverlessPrint, StartPrintJobRunsOnAWorkerAndReportsFromThere) {
    PrintSettings settings = DriverlessTo("no-such-port");
    settings.PrintCustPage = "0";
    test::WriteSlipFile("SCprint.txt", {u"line"});
    StartPrintJob(settings);
    StartPrintJob(settings);
    WaitForPrintJobs();
    const auto threads = m_failures.Threads();
    ASSERT_EQ(threads.size(), 2u);
    EXPECT_NE(threads[0], std::this_thread::get_id());
    EXPECT_NE(threads[0], threads[1]);
    EXPECT_EQ(m_failures.Texts()[0], u"打印失败");
}

}  // namespace
}  // namespace zelvo

namespace zelvo {
namespace {

TEST(PrintJobExit, ProcessEndsCleanlyWithJobsNotWaitedFor) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PrintSettings switchedOff;
            switchedOff.PrintMerPage = "0";
            switchedOff.PrintCustPage = "0";
            StartPrintJob(switchedOff);
            StartPrintJob(switchedOff);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace zelvo
