#pragma once

namespace zelvo {

struct TransRecord;

// The gateway library's entry point, its last error and the answer record, behind one small
// interface so that the flows can be driven by scripted answers.
class GatewayExchange {
public:
    virtual ~GatewayExchange() = default;
    // 1 when the exchange completed, 0 when a step failed. Runs on a worker thread.
    virtual int Exchange(const char* request) = 0;
    // Why the last exchange failed: MisCilLastError's code (MisCilError::Timeout,
    // MisCilError::PeerClosed, ...).
    virtual int LastError() const = 0;
    // Whether the last exchange's request was sent; a failure before that changed nothing.
    virtual bool RequestSent() const = 0;
    // The answer of the last exchange; null before the library's context exists.
    virtual const TransRecord* Record() const = 0;
};

// The process's gateway library.
class MisCilGateway final : public GatewayExchange {
public:
    int Exchange(const char* request) override;
    int LastError() const override;
    bool RequestSent() const override;
    const TransRecord* Record() const override;
};

}  // namespace zelvo
