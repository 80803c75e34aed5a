#include "tools/gateway-sim/ConnectionPool.h"

#include <unistd.h>

namespace zelvo::sim {

ConnectionPool::ConnectionPool(std::function<void(int)> serve, size_t threads, size_t maxWaiting)
    : m_serve(std::move(serve)), m_maxWaiting(maxWaiting) {
    for (size_t i = 0; i < threads; ++i) m_threads.emplace_back([this] { Work(); });
}

ConnectionPool::~ConnectionPool() {
    Stop();
}

bool ConnectionPool::Submit(int connection) {
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping || m_waiting.size() >= m_maxWaiting) return false;
        m_waiting.push_back(connection);
    }
    m_ready.notify_one();
    return true;
}

void ConnectionPool::Stop() {
    {
        std::lock_guard lock(m_mutex);
        if (m_stopping) return;
        m_stopping = true;
    }
    m_ready.notify_all();
    for (std::thread& thread : m_threads) thread.join();
    for (int connection : m_waiting) close(connection);
    m_waiting.clear();
}

void ConnectionPool::Work() {
    for (;;) {
        int connection = -1;
        {
            std::unique_lock lock(m_mutex);
            m_ready.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
            if (m_stopping) return;
            connection = m_waiting.front();
            m_waiting.pop_front();
        }
        m_serve(connection);
        close(connection);
    }
}

}  // namespace zelvo::sim
