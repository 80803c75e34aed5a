#include "config/NetworkMonitor.h"

#include "platform/Connectivity.h"

namespace zelvo {

NetworkMonitor::NetworkMonitor(std::unique_ptr<ConnectivityCheck> check, Report report,
                               std::chrono::milliseconds period)
    : m_check(std::move(check)), m_report(std::move(report)), m_period(period) {}

NetworkMonitor::~NetworkMonitor() { Stop(); }

void NetworkMonitor::Start() {
    if (m_thread.joinable()) return;
    m_stopping = false;
    m_thread = std::thread([this] { Run(); });
}

void NetworkMonitor::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

void NetworkMonitor::Run() {
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        lock.unlock();
        bool connected = m_check->IsOnline();
        m_report(connected);
        lock.lock();
        m_wake.wait_for(lock, m_period, [this] { return m_stopping; });
    }
}

}  // namespace zelvo
