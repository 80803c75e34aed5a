#include "payment/ReconcileService.h"

#include "payment/Reconciler.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

constexpr std::chrono::seconds kNetworkPoll{1};
constexpr std::chrono::milliseconds kIdleWait = std::chrono::hours(24);
constexpr std::chrono::milliseconds kStopPoll{100};

}  // namespace

ReconcileService::ReconcileService(ReconcileServiceSetup setup) : m_setup(std::move(setup)) {
    m_worker = std::thread([this] { Loop(); });
}

ReconcileService::~ReconcileService() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_worker.joinable()) m_worker.join();
}

void ReconcileService::Trigger() {
    {
        std::lock_guard lock(m_mutex);
        m_triggered = true;
    }
    m_wake.notify_all();
}

int ReconcileService::Rounds() const {
    std::lock_guard lock(m_mutex);
    return m_rounds;
}

bool ReconcileService::WaitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    m_wake.wait_for(lock, timeout, [this] { return m_triggered || m_stopping; });
    m_triggered = false;
    return !m_stopping;
}

void ReconcileService::Loop() {
    std::chrono::milliseconds wait{0};
    while (WaitFor(wait)) {
        if (m_setup.networkUp && !m_setup.networkUp()) {
            // Asked for, but the gateway is out of reach: try again once the network is back.
            Trigger();
            std::unique_lock lock(m_mutex);
            m_wake.wait_for(lock, kNetworkPoll, [this] { return m_stopping; });
            continue;
        }
        // With nothing left open, only a flow that leaves an order open wakes it again.
        wait = RunRound() ? m_setup.period : kIdleWait;
    }
}

bool ReconcileService::Stopping() const {
    std::lock_guard lock(m_mutex);
    return m_stopping;
}

void ReconcileService::TellRecovered(const std::u16string& text) {
    if (!m_setup.poster) return;
    // Copies, not the service: the work may run after the service is gone.
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> told = done->get_future();
    const bool print = m_setup.printSlips && m_setup.startPrintJob;
    m_setup.poster([show = m_setup.showRecovered,
                    startPrint = print ? m_setup.startPrintJob : nullptr, text, done] {
        if (show) show(text);
        if (startPrint) startPrint();
        done->set_value();
    });
    // The user-interface thread may be the one waiting for this worker to end.
    while (told.wait_for(kStopPoll) != std::future_status::ready) {
        if (Stopping()) return;
    }
    if (print && m_setup.waitForPrintJobs) m_setup.waitForPrintJobs();
}

bool ReconcileService::RunRound() {
    std::unique_ptr<CLocalDb> db = m_setup.openDatabase ? m_setup.openDatabase() : nullptr;
    if (!db || !m_setup.exchanges) return true;
    ReconcileServices services{*m_setup.exchanges, m_setup.journal, [this] { return Stopping(); }};
    services.recorded = [this](const ReconcileItem& item) {
        TellRecovered(RecoveredOrderText(item));
    };
    Reconciler reconciler(std::move(services));
    bool openRemain = false;
    for (const ReconcileItem& item : reconciler.RunRound(*db)) {
        // A skipped order is followed elsewhere: it may be left open there in turn.
        if (item.action == ReconcileAction::LeftOpen || item.action == ReconcileAction::Skipped) {
            openRemain = true;
        }
    }
    std::lock_guard lock(m_mutex);
    ++m_rounds;
    return openRemain;
}

}  // namespace zelvo
