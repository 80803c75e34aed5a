#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "recognize/IsolatedRun.h"

namespace zelvo {
namespace {

using namespace std::chrono_literals;

TEST(IsolatedRun, GivesBackWhatTheWorkReturned) {
    EXPECT_EQ(RunIsolated([] { return std::optional<std::string>("\xEF\xBF\xA5 128.50"); }, 5s),
              "\xEF\xBF\xA5 128.50");
    EXPECT_EQ(RunIsolated([] { return std::optional<std::string>(""); }, 5s), "");
    EXPECT_EQ(RunIsolated([] { return std::optional<std::string>(); }, 5s), std::nullopt);
}

TEST(IsolatedRun, AWorkThatAbortsOrHangsCostsOnlyItsReading) {
    EXPECT_EQ(RunIsolated(
                  []() -> std::optional<std::string> {
                      std::abort();
                  },
                  5s),
              std::nullopt);
    EXPECT_EQ(RunIsolated(
                  []() -> std::optional<std::string> {
                      std::this_thread::sleep_for(60s);
                      return "late";
                  },
                  200ms),
              std::nullopt);
    // And the next reading goes on as before.
    EXPECT_EQ(RunIsolated([] { return std::optional<std::string>("7.5"); }, 5s), "7.5");
}

TEST(IsolatedRun, WhatTheWorkChangesStaysInTheChild) {
    static int readings = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(RunIsolated([] { return std::optional<std::string>(std::to_string(++readings)); },
                              5s),
                  "1");
    }
    EXPECT_EQ(readings, 0);
}

TEST(IsolatedRun, AnOverlongAnswerIsCut) {
    const std::optional<std::string> answer =
        RunIsolated([] { return std::optional<std::string>(std::string(1 << 20, '9')); }, 5s);
    ASSERT_TRUE(answer);
    EXPECT_LT(answer->size(), 1u << 20);
    EXPECT_GT(answer->size(), 1000u);
}

}  // namespace
}  // namespace zelvo
