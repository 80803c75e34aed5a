#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "payment/ExchangeRunner.h"

namespace zelvo {

class CLocalDb;
class OrderJournal;

struct ReconcileServiceSetup {
    ExchangeRunner* exchanges = nullptr;
    OrderJournal* journal = nullptr;
    // A connection of the worker's own to the local database; none when it cannot be opened.
    std::function<std::unique_ptr<CLocalDb>()> openDatabase;
    // Rounds wait for the network.
    std::function<bool()> networkUp;
    // Runs work on the user-interface thread.
    UiPoster poster;
    // On the user-interface thread, for each order found paid or refunded.
    std::function<void(const std::u16string& text)> showRecovered;
    // On the user-interface thread, after a recovered order's slip was written.
    std::function<void()> startPrintJob;
    // Until the print jobs started so far have read their file (before the next exchange may
    // write another slip).
    std::function<void()> waitForPrintJobs;
    bool printSlips = true;
    // How long to wait before another round while orders stay open.
    std::chrono::milliseconds period = std::chrono::minutes(3);
};

// Runs the reconciliation on a worker thread: once at start, again whenever a flow leaves an
// order open (Trigger), and every `period` while open orders remain.
class ReconcileService {
public:
    explicit ReconcileService(ReconcileServiceSetup setup);
    // Ends the worker after its current exchange.
    ~ReconcileService();
    ReconcileService(const ReconcileService&) = delete;
    ReconcileService& operator=(const ReconcileService&) = delete;

    void Trigger();
    // Rounds completed so far.
    int Rounds() const;

private:
    void Loop();
    // True when orders remain open.
    bool RunRound();
    // Banner and slip of an order found paid, on the user-interface thread; returns once they
    // are under way, or when the service is stopping.
    void TellRecovered(const std::u16string& text);
    bool Stopping() const;
    bool WaitFor(std::chrono::milliseconds timeout);

    ReconcileServiceSetup m_setup;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_triggered = true;
    bool m_stopping = false;
    int m_rounds = 0;
    std::thread m_worker;
};

}  // namespace zelvo
