#include "tests/support/ScriptedGateway.h"

#include <cstdlib>

#include "base/Text.h"

namespace zelvo::test {
namespace {

constexpr int kNobodyAnswered = 14;

const std::string& Either(const std::string& scripted, const std::string& requested) {
    return scripted.empty() ? requested : scripted;
}

}  // namespace

ScriptedAnswer Answer(const std::string& respCode, const std::string& channel) {
    ScriptedAnswer answer;
    answer.respCode = respCode;
    answer.channel = channel;
    return answer;
}

ScriptedAnswer Failure(int lastError) {
    ScriptedAnswer answer;
    answer.result = 0;
    answer.lastError = lastError;
    answer.requestSent = lastError != 14 && lastError != 15 && lastError != 19;
    answer.channel.clear();
    return answer;
}

void ScriptedGateway::Script(ScriptedAnswer answer) {
    std::lock_guard lock(m_mutex);
    m_script.push_back(std::move(answer));
}

void ScriptedGateway::HoldExchanges(bool hold) {
    {
        std::lock_guard lock(m_mutex);
        m_hold = hold;
    }
    m_released.notify_all();
}

int ScriptedGateway::Exchange(const char* request) {
    std::unique_lock lock(m_mutex);
    const std::string text(request);
    m_requests.push_back(text);
    m_released.wait(lock, [this] { return !m_hold; });
    ScriptedAnswer answer = Failure(kNobodyAnswered);
    if (!m_script.empty()) {
        answer = m_script.front();
        m_script.pop_front();
    }
    m_record = TransRecord{};
    SetFieldValue(m_record.saTxnType,
                  Either(answer.txnType, RequestField(text, MisRequestField::TxnType)));
    SetFieldValue(m_record.saOrigTxnType, RequestField(text, MisRequestField::OrigTxnType));
    SetFieldValue(m_record.saOrderNum,
                  Either(answer.orderNum, RequestField(text, MisRequestField::OrderNum)));
    SetFieldValue(m_record.saOrigOrderNum,
                  Either(answer.origOrderNum, RequestField(text, MisRequestField::OrigOrderNum)));
    const std::string amount = RequestField(text, MisRequestField::MisTransAmt);
    SetFieldValue(m_record.saMisTransAmt, amount);
    m_record.dTransAmt = answer.amount.value_or(std::strtod(amount.c_str(), nullptr));
    SetFieldValue(m_record.saRespCode, answer.respCode);
    SetFieldValue(m_record.saChannelCode, answer.channel);
    SetFieldValue(m_record.saAcctNum, answer.account);
    SetFieldValue(m_record.saChannelOrderNum, answer.channelOrderNum);
    SetFieldValue(m_record.saErrDetail, answer.errDetail);
    m_lastError = answer.lastError;
    m_requestSent = answer.requestSent;
    return answer.result;
}

int ScriptedGateway::LastError() const {
    std::lock_guard lock(m_mutex);
    return m_lastError;
}

bool ScriptedGateway::RequestSent() const {
    std::lock_guard lock(m_mutex);
    return m_requestSent;
}

const TransRecord* ScriptedGateway::Record() const {
    return &m_record;
}

std::vector<std::string> ScriptedGateway::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::string ScriptedGateway::LastRequest() const {
    std::lock_guard lock(m_mutex);
    return m_requests.empty() ? std::string() : m_requests.back();
}

size_t ScriptedGateway::RequestCount() const {
    std::lock_guard lock(m_mutex);
    return m_requests.size();
}

std::string RequestField(const std::string& request, MisTextField field) {
    if (request.size() <= field.offset) return {};
    return TrimWhitespace(request.substr(field.offset, field.width));
}

}  // namespace zelvo::test
