#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "payment/ExchangeResult.h"
#include "payment/RequestBuilders.h"

namespace zelvo {

class GatewayExchange;

// Runs `work` on the user-interface thread later (a queued call in the application).
using UiPoster = std::function<void(std::function<void()> work)>;
// The completion of one exchange, ExchangeDone, with its result.
using ExchangeDoneHandler = std::function<void(ExchangeResult result)>;

// A completion that reaches `handler` only while `owner` lives, so a flow that is gone before
// its exchange ends is not called back.
ExchangeDoneHandler WhileAlive(std::weak_ptr<const bool> owner, ExchangeDoneHandler handler);

// The exchange itself, as the worker runs it: NothingSent for an empty request, else the
// library's result.
ExchangeResult RunExchange(GatewayExchange& gateway, const RequestBuffer& request);

// Runs gateway exchanges one at a time, each on a worker thread of its own, and hands each
// completion to the handler of the flow that started it, on the user-interface thread.
class ExchangeRunner {
public:
    ExchangeRunner(GatewayExchange& gateway, UiPoster poster);
    // Waits for a running exchange; its completion is then dropped.
    ~ExchangeRunner();
    ExchangeRunner(const ExchangeRunner&) = delete;
    ExchangeRunner& operator=(const ExchangeRunner&) = delete;

    // False, and nothing started, while an exchange runs, its completion is still on its way or
    // being handled (a Start from the handler itself is its follow-up and goes ahead), or the
    // slot is held: the library has one context, which a second exchange would overwrite.
    bool Start(const RequestBuffer& request, ExchangeDoneHandler done);
    bool IsRunning() const { return m_running.load(); }

    // For a caller that runs its own exchange on its own thread (the reconciliation): takes the
    // one exchange slot if it is free, so that no flow starts one until ReleaseHold. A flow's
    // follow-up started from its completion handler never loses the slot to a holder.
    bool TryHold();
    void ReleaseHold();

    GatewayExchange& Gateway() { return m_gateway; }

private:
    void Finish(ExchangeResult result, const ExchangeDoneHandler& done);

    GatewayExchange& m_gateway;
    UiPoster m_poster;
    std::atomic<bool> m_running{false};
    // A completion handler runs: a Start from it reuses the slot. User-interface thread only.
    bool m_handing = false;
    std::thread m_worker;
    // Completions check it, so that none reaches a runner that is gone.
    std::shared_ptr<ExchangeRunner*> m_alive;
};

}  // namespace zelvo
