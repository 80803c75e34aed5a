#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

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

TEST(InstanceLock, AHeldLockAndALockThatCannotBeMadeAreToldApart) {
    InstanceLockOutcome outcome = InstanceLockOutcome::Failed;
    auto first = AcquireInstanceLock("ZelvoTestLockC", &outcome);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(outcome, InstanceLockOutcome::Acquired);
    EXPECT_EQ(AcquireInstanceLock("ZelvoTestLockC", &outcome), nullptr);
    EXPECT_EQ(outcome, InstanceLockOutcome::HeldElsewhere);

    // Out of file descriptors, a child cannot make any lock: that is no second instance.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit none{0, 0};
        setrlimit(RLIMIT_NOFILE, &none);
        InstanceLockOutcome seen = InstanceLockOutcome::Acquired;
        auto lock = AcquireInstanceLock("ZelvoTestLockD", &seen);
        _exit(!lock && seen == InstanceLockOutcome::Failed ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(InstanceLock, TheCashiersLockBelongsToTheUserAndTheDisplay) {
    const char* saved = std::getenv("DISPLAY");
    const std::string before = saved ? saved : "";
    setenv("DISPLAY", ":7", 1);
    const std::string seventh = SessionLockName("CQuorraApp");
    setenv("DISPLAY", ":8", 1);
    const std::string eighth = SessionLockName("CQuorraApp");
    if (saved) {
        setenv("DISPLAY", before.c_str(), 1);
    } else {
        unsetenv("DISPLAY");
    }
    EXPECT_EQ(seventh, "CQuorraApp-" + std::to_string(getuid()) + "-:7");
    EXPECT_NE(seventh, eighth);
    // Another user's cashier, holding the bare name, does not stop this one.
    auto otherUser = AcquireInstanceLock("CQuorraApp");
    EXPECT_NE(AcquireInstanceLock(SessionLockName("CQuorraApp")), nullptr);
}

TEST(SingleInstance, SecondCashierEndsSilently) {
    test::ScopedWorkDir dir;
    test::MakeDeliveredDatabase(dir.Path() / "MISData.db");
    test::RunSql(dir.Path() / "MISData.db", "delete from SysConfig where Name = 'CutRect'");
    auto running = AcquireInstanceLock(SessionLockName("CQuorraApp"));
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
