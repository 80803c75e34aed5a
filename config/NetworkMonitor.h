#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zelvo {

class ConnectivityCheck;

// Asks the system whether the computer is online, at once and then every period, and reports
// the answer; `report` returns once the receiver has handled it.
class NetworkMonitor {
public:
    using Report = std::function<void(bool connected)>;

    NetworkMonitor(std::unique_ptr<ConnectivityCheck> check, Report report,
                   std::chrono::milliseconds period = std::chrono::milliseconds(10000));
    ~NetworkMonitor();
    NetworkMonitor(const NetworkMonitor&) = delete;
    NetworkMonitor& operator=(const NetworkMonitor&) = delete;

    void Start();
    // Ends the loop; a report under way is finished first.
    void Stop();

private:
    void Run();

    std::unique_ptr<ConnectivityCheck> m_check;
    Report m_report;
    std::chrono::milliseconds m_period;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
    std::thread m_thread;
};

}  // namespace zelvo
