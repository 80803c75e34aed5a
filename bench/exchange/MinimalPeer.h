#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace zelvo::bench {

// The least a gateway can be: accept, read one framed request, write fixed answer bytes, close.
class MinimalPeer {
public:
    explicit MinimalPeer(std::string answer);
    ~MinimalPeer();
    int Port() const { return m_port; }

private:
    void Run();

    std::string m_answer;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

// One plain exchange with the peer: connect, send `request`, read a framed answer, close.
// False when anything failed.
bool PlainRoundTrip(int port, const std::string& request);

}  // namespace zelvo::bench
