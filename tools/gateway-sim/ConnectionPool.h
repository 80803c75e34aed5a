#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace zelvo::sim {

// A fixed set of threads that serve accepted connections in turn. Waking a waiting thread costs
// far less than starting one per connection, so the simulator does not dominate the timings of
// the exchanges it answers.
class ConnectionPool {
public:
    // `serve` handles one connection; the pool closes it afterwards.
    ConnectionPool(std::function<void(int)> serve, size_t threads, size_t maxWaiting);
    ~ConnectionPool();
    ConnectionPool(const ConnectionPool&) = delete;
    ConnectionPool& operator=(const ConnectionPool&) = delete;

    // Queues a connection; false (and the connection is left to the caller) when the queue is
    // full or the pool has stopped.
    bool Submit(int connection);
    // Lets the threads finish the connection in hand, closes the queued ones and joins.
    void Stop();

private:
    void Work();

    std::function<void(int)> m_serve;
    size_t m_maxWaiting;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<int> m_waiting;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

}  // namespace zelvo::sim
