#include "config/NetworkMonitor.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Connectivity.h"

namespace zelvo {
namespace {

class ScriptedConnectivity final : public ConnectivityCheck {
public:
    explicit ScriptedConnectivity(std::atomic<bool>& online) : m_online(online) {}
    bool IsOnline() override { return m_online.load(); }

private:
    std::atomic<bool>& m_online;
};

class Reports {
public:
    void Add(bool connected) {
        std::lock_guard lock(m_mutex);
        m_values.push_back(connected);
        m_changed.notify_all();
    }
    std::vector<bool> WaitFor(size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(10), [&] { return m_values.size() >= count; });
        return m_values;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<bool> m_values;
};

TEST(NetworkMonitor, ReportsAtOnceThenEveryPeriodAndStops) {
    std::atomic<bool> online{false};
    Reports reports;
    NetworkMonitor monitor(std::make_unique<ScriptedConnectivity>(online),
                           [&](bool connected) { reports.Add(connected); },
                           std::chrono::milliseconds(20));
    monitor.Start();
    EXPECT_EQ(reports.WaitFor(1).front(), false);
    online = true;
    std::vector<bool> seen = reports.WaitFor(3);
    monitor.Stop();
    EXPECT_EQ(seen.back(), true);
    size_t afterStop = reports.WaitFor(0).size();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(reports.WaitFor(0).size(), afterStop);
}

TEST(NetworkMonitor, LongPeriodDoesNotDelayTheFirstReportOrStopping) {
    std::atomic<bool> online{true};
    Reports reports;
    NetworkMonitor monitor(std::make_unique<ScriptedConnectivity>(online),
                           [&](bool connected) { reports.Add(connected); });
    monitor.Start();
    EXPECT_EQ(reports.WaitFor(1).size(), 1u);
    monitor.Stop();  // must not wait out the ten seconds
}

TEST(Connectivity, SystemCheckCanBePinnedByTheEnvironment) {
    auto check = CreateSystemConnectivityCheck();
    ASSERT_NE(check, nullptr);
    setenv("ZELVO_NETWORK", "offline", 1);
    EXPECT_FALSE(check->IsOnline());
    setenv("ZELVO_NETWORK", "online", 1);
    EXPECT_TRUE(check->IsOnline());
    unsetenv("ZELVO_NETWORK");
    check->IsOnline();  // any answer; reading this machine's route tables must not fail
}

}  // namespace
}  // namespace zelvo
