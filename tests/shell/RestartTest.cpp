#include <chrono>
#include <cstdlib>
#include <thread>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

TEST(RestartApplication, FreshCopyStartsInTheSameFolderAndIsNotRefused) {
    test::ScopedWorkDir dir;
    int status = std::system(RESTART_PROBE);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // The copy runs on its own; wait for its line (bounded, no timing asserted).
    std::string log;
    for (int i = 0; i < 200; ++i) {
        log = test::ReadFile(dir.Path() / "probe.log");
        if (log.size() >= std::string("started\nstarted\n").size()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(log, "started\nstarted\n");
}

}  // namespace
}  // namespace zelvo
