#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/InstanceLock.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

TEST(InstanceLock, SecondHolderIsRefusedUntilReleased) {
    auto first = AcquireInstanceLock("ZelvoTestLockA");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(AcquireInstanceLock("ZelvoTestLockA"), nullptr);
    first->Release();
    EXPECT_NE(AcquireInstanceLock("ZelvoTestLockA"), nullptr);
}

TEST(InstanceLock, KilledHolderLeavesNoLockBehind) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto lock = AcquireInstanceLock("ZelvoTestLockB");
        char ok = lock ? '1' : '0';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');
    EXPECT_EQ(AcquireInstanceLock("ZelvoTestLockB"), nullptr);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_NE(AcquireInstanceLock("ZelvoTestLockB"), nullptr);
    close(ready[0]);
    close(ready[1]);
}

TEST(SingleInstance, SecondCashierEndsSilently) {
    test::ScopedWorkDir dir;
    test::MakeDeliveredDatabase(dir.Path() / "MISData.db");
    test::RunSql(dir.Path() / "MISData.db", "delete from SysConfig where Name = 'CutRect'");
    auto running = AcquireInstanceLock("CQuorraApp");
    ASSERT_NE(running, nullptr) << "another cashier runs on this machine";
    std::string command = std::string("QT_QPA_PLATFORM=offscreen timeout 20 ") + ZELVO_EXECUTABLE +
                          " > out.txt 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(test::ReadFile(dir.Path() / "out.txt"), "");
    // It never reached the database: no maintenance ran.
    EXPECT_EQ(test::QueryText(dir.Path() / "MISData.db",
                              "select count(*) from SysConfig where Name = 'CutRect'"),
              "0");
}

}  // namespace
}  // namespace zelvo
