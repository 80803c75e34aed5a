#include "payment/ExchangeRunner.h"

#include "payment/GatewayExchange.h"

namespace zelvo {

ExchangeDoneHandler WhileAlive(std::weak_ptr<const bool> owner, ExchangeDoneHandler handler) {
    return [owner = std::move(owner), handler = std::move(handler)](ExchangeResult result) {
        if (owner.lock()) handler(result);
    };
}

ExchangeResult RunExchange(GatewayExchange& gateway, const RequestBuffer& request) {
    if (request[0] == '\0') return ExchangeResult::NothingSent;
    return gateway.Exchange(request.data()) == 1 ? ExchangeResult::Completed
                                                 : ExchangeResult::Failed;
}

ExchangeRunner::ExchangeRunner(GatewayExchange& gateway, UiPoster poster)
    : m_gateway(gateway),
      m_poster(std::move(poster)),
      m_alive(std::make_shared<ExchangeRunner*>(this)) {}

ExchangeRunner::~ExchangeRunner() {
    m_alive.reset();
    if (m_worker.joinable()) m_worker.join();
}

bool ExchangeRunner::TryHold() {
    bool expected = false;
    return m_running.compare_exchange_strong(expected, true);
}

void ExchangeRunner::ReleaseHold() { m_running = false; }

bool ExchangeRunner::Start(const RequestBuffer& request, ExchangeDoneHandler done) {
    if (m_handing) {
        // Called from the completion handler: the slot is still ours.
        m_handing = false;
    } else if (!TryHold()) {
        return false;
    }
    if (m_worker.joinable()) m_worker.join();
    std::weak_ptr<ExchangeRunner*> alive = m_alive;
    // The worker owns a copy of the request, so the page may reuse its buffer at once.
    auto copy = std::make_unique<RequestBuffer>(request);
    copy->back() = '\0';
    m_worker = std::thread([this, alive, done = std::move(done), copy = std::move(copy)]() mutable {
        const ExchangeResult result = RunExchange(m_gateway, *copy);
        m_poster([alive, result, done = std::move(done)] {
            if (auto runner = alive.lock()) (*runner)->Finish(result, done);
        });
    });
    return true;
}

void ExchangeRunner::Finish(ExchangeResult result, const ExchangeDoneHandler& done) {
    // The worker has posted its last word; joining here makes its writes to the library's
    // context visible before the handler reads the answer.
    if (m_worker.joinable()) m_worker.join();
    // The slot stays taken while the handler runs, so that its follow-up cannot be overtaken.
    m_handing = true;
    if (done) done(result);
    if (m_handing) {
        m_handing = false;
        m_running = false;
    }
}

}  // namespace zelvo
