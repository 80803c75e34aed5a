#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "MISCIL/FieldTables.h"
#include "MISCIL/TransRecord.h"
#include "payment/GatewayExchange.h"

namespace zelvo::test {

// One scripted outcome of an exchange: the library's result, its last error and the answer.
// Like the library's, the answer's record holds the request's own type, order numbers and
// amount, unless the script names its own.
struct ScriptedAnswer {
    std::string txnType;
    std::string respCode;
    std::string channel = "WXP";
    std::optional<double> amount;
    std::string orderNum;
    std::string origOrderNum;
    int result = 1;
    int lastError = 0;
    bool requestSent = true;
    std::string account;
    std::string channelOrderNum;
    std::string errDetail;
};

ScriptedAnswer Answer(const std::string& respCode, const std::string& channel = "WXP");
// A failed exchange; connection failures (14, 15, 19) happen before the request leaves.
ScriptedAnswer Failure(int lastError);

// A gateway that answers from a script and keeps every request it was given. An exchange with
// no answer left fails as one that reached nobody (error 14).
class ScriptedGateway : public GatewayExchange {
public:
    void Script(ScriptedAnswer answer);
    // While held, exchanges wait, so a test can act while an answer is outstanding.
    void HoldExchanges(bool hold);
    int Exchange(const char* request) override;
    int LastError() const override;
    bool RequestSent() const override;
    const TransRecord* Record() const override;

    std::vector<std::string> Requests() const;
    std::string LastRequest() const;
    size_t RequestCount() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    std::deque<ScriptedAnswer> m_script;
    std::vector<std::string> m_requests;
    bool m_hold = false;
    TransRecord m_record{};
    int m_lastError = 0;
    bool m_requestSent = false;
};

// A field of a request text, without its padding.
std::string RequestField(const std::string& request, MisTextField field);

}  // namespace zelvo::test
