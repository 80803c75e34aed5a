#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "tools/gateway-sim/SimOptions.h"

namespace zelvo::sim {

class ConnectionPool;
class OrderBook;

// The simulated gateway: a TCP server on 127.0.0.1 that runs on its own thread.
class GatewaySim {
public:
    explicit GatewaySim(SimOptions options);
    ~GatewaySim();
    GatewaySim(const GatewaySim&) = delete;
    GatewaySim& operator=(const GatewaySim&) = delete;

    // Listens and starts serving; false when the port cannot be taken.
    bool Start();
    // The port it listens on (useful with port 0).
    int Port() const { return m_port; }
    // Stops accepting, ends every connection and waits for the threads.
    void Stop();

    // One line per exchange goes here (standard output by default).
    void SetLineSink(std::function<void(const std::string&)> sink);
    // Exchanges answered so far.
    int Exchanges() const { return m_exchanges; }

private:
    void AcceptLoop();
    void Serve(int connection);

    SimOptions m_options;
    std::unique_ptr<OrderBook> m_orders;
    std::function<void(const std::string&)> m_sink;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_exchanges{0};
    std::thread m_acceptor;
    std::unique_ptr<ConnectionPool> m_pool;
};

// Runs the simulator until SIGTERM or SIGINT; the process's exit code.
int RunGatewaySimUntilSignal(const SimOptions& options);

}  // namespace zelvo::sim
