#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "recognize/IsolatedWorker.h"

namespace zelvo {
namespace {

using namespace std::chrono_literals;

// Answers with the child's process and how many requests it has served: "pid/count".
std::optional<std::string> WhoServed(const std::string&) {
    static int served = 0;
    return std::to_string(getpid()) + "/" + std::to_string(++served);
}

pid_t ServedBy(const std::optional<std::string>& answer) {
    return answer ? static_cast<pid_t>(std::atoi(answer->c_str())) : -1;
}

// Whether the child `pid` of this process has died (and not been reaped) within `limit`.
bool DiesWithin(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string line;
        std::getline(stat, line);
        // The state follows the command name, which is in brackets.
        const size_t named = line.rfind(')');
        if (named != std::string::npos && line.compare(named, 3, ") Z") == 0) return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

TEST(IsolatedWorker, GivesBackWhatTheWorkReturnedForEachRequest) {
    IsolatedWorker worker([](const std::string& request) -> std::optional<std::string> {
        if (request == "none") return std::nullopt;
        return "read " + request;
    });
    EXPECT_EQ(worker.Run("\xEF\xBF\xA5 128.50", 5s), "read \xEF\xBF\xA5 128.50");
    EXPECT_EQ(worker.Run("none", 5s), std::nullopt);
    EXPECT_EQ(worker.Run(std::string("a\0b", 3), 5s), std::string("read a\0b", 8));
    EXPECT_EQ(worker.Run("", 5s), "read ");
}

TEST(IsolatedWorker, AWorkThatAbortsOrHangsCostsOnlyItsReading) {
    IsolatedWorker worker([](const std::string& request) -> std::optional<std::string> {
        if (request == "abort") std::abort();
        if (request == "hang") std::this_thread::sleep_for(60s);
        return request;
    });
    EXPECT_EQ(worker.Run("1.5", 5s), "1.5");
    EXPECT_EQ(worker.Run("abort", 5s), std::nullopt);
    EXPECT_EQ(worker.Run("2.5", 5s), "2.5");
    EXPECT_EQ(worker.Run("hang", 200ms), std::nullopt);
    EXPECT_EQ(worker.Run("7.5", 5s), "7.5");
}

TEST(IsolatedWorker, OneChildServesTheReadingsAndWhatItChangesStaysThere) {
    static int parentSide = 0;
    IsolatedWorker worker([](const std::string& request) {
        ++parentSide;
        return WhoServed(request);
    });
    const std::optional<std::string> first = worker.Run("", 5s);
    const pid_t child = ServedBy(first);
    EXPECT_NE(child, getpid());
    EXPECT_EQ(first, std::to_string(child) + "/1");
    EXPECT_EQ(worker.Run("", 5s), std::to_string(child) + "/2");
    EXPECT_EQ(parentSide, 0);
}

TEST(IsolatedWorker, AFreshChildTakesOverAfterSoManyReadings) {
    IsolatedWorker worker(WhoServed);
    const pid_t first = ServedBy(worker.Run("", 5s));
    for (int i = 1; i < IsolatedWorker::kReadingsPerChild; ++i) worker.Run("", 5s);
    const std::optional<std::string> next = worker.Run("", 5s);
    EXPECT_NE(ServedBy(next), first);
    EXPECT_EQ(next, std::to_string(ServedBy(next)) + "/1");
}

TEST(IsolatedWorker, AChildThatDiedBetweenReadingsIsReplacedForTheNextOne) {
    IsolatedWorker worker(WhoServed);
    const pid_t first = ServedBy(worker.Run("", 5s));
    ASSERT_GT(first, 0);
    ASSERT_EQ(kill(first, SIGKILL), 0);
    ASSERT_TRUE(DiesWithin(first, 5s));
    const std::optional<std::string> next = worker.Run("", 5s);
    ASSERT_TRUE(next);
    EXPECT_NE(ServedBy(next), first);
}

TEST(IsolatedWorker, TheChildKeepsNoneOfTheParentsDescriptorsOpen) {
    // A connection of the till's, open when the child starts, must close when the till closes it.
    int connection[2];
    ASSERT_EQ(pipe(connection), 0);
    IsolatedWorker worker(WhoServed);
    ASSERT_TRUE(worker.Run("", 5s));
    close(connection[1]);
    pollfd end{connection[0], POLLIN, 0};
    ASSERT_EQ(poll(&end, 1, 2000), 1);
    char byte;
    EXPECT_EQ(read(connection[0], &byte, 1), 0);
    close(connection[0]);
}

TEST(IsolatedWorker, TheChildEndsWithItsWorkerAndWithItsParent) {
    std::optional<IsolatedWorker> worker(std::in_place, WhoServed);
    const pid_t child = ServedBy(worker->Run("", 5s));
    ASSERT_GT(child, 0);
    worker.reset();
    EXPECT_EQ(kill(child, 0), -1);

    // A till killed outright: its child, adopted here, must go as well.
    const pid_t till = fork();
    ASSERT_GE(till, 0);
    if (till == 0) {
        prctl(PR_SET_CHILD_SUBREAPER, 1);
        int report[2];
        if (pipe(report) != 0) _exit(2);
        const pid_t doomed = fork();
        if (doomed == 0) {
            IsolatedWorker kept(WhoServed);
            const pid_t served = ServedBy(kept.Run("", 5s));
            if (write(report[1], &served, sizeof served) != sizeof served) _exit(2);
            _exit(0);  // no destructor: the worker is left behind
        }
        pid_t orphan = -1;
        if (read(report[0], &orphan, sizeof orphan) != sizeof orphan || orphan <= 0) _exit(2);
        waitpid(doomed, nullptr, 0);
        for (int i = 0; i < 500; ++i) {
            if (waitpid(orphan, nullptr, WNOHANG) == orphan) _exit(0);
            std::this_thread::sleep_for(10ms);
        }
        kill(orphan, SIGKILL);
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(till, &status, 0), till);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(IsolatedWorker, AnOverlongAnswerIsCut) {
    IsolatedWorker worker(
        [](const std::string&) { return std::optional<std::string>(std::string(1 << 20, '9')); });
    const std::optional<std::string> answer = worker.Run("", 5s);
    ASSERT_TRUE(answer);
    EXPECT_LT(answer->size(), 1u << 20);
    EXPECT_GT(answer->size(), 1000u);
}

}  // namespace
}  // namespace zelvo
