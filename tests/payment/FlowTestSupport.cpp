#include "tests/payment/FlowTestSupport.h"

#include <chrono>
#include <cstdlib>

#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "base/Text.h"
#include "tests/support/TestSupport.h"

namespace zelvo::test {
namespace {

std::string KindName(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return "error";
        case MessageKind::Success:
            return "success";
        case MessageKind::Notice:
            return "notice";
    }
    return "?";
}

std::string U8(const std::u16string& text) {
    return Utf16ToUtf8(text);
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
    std::lock_guard<std::mutex> lock(m_mutex);
    m_script.push_back(std::move(answer));
}

int ScriptedGateway::Exchange(const char* request) {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string text(request);
    m_requests.push_back(text);
    ScriptedAnswer answer;
    if (m_script.empty()) {
        answer = Failure(14);  // nobody answers: an unscripted exchange shows up as a failure
    } else {
        answer = m_script.front();
        m_script.pop_front();
    }
    m_record = TransRecord{};
    SetFieldValue(m_record.saTxnType, RequestField(text, MisRequestField::TxnType));
    SetFieldValue(m_record.saOrigTxnType, RequestField(text, MisRequestField::OrigTxnType));
    SetFieldValue(m_record.saOrderNum, RequestField(text, MisRequestField::OrderNum));
    SetFieldValue(m_record.saOrigOrderNum,
                  answer.origOrderNum.empty()
                      ? RequestField(text, MisRequestField::OrigOrderNum)
                      : answer.origOrderNum);
    std::string amount = RequestField(text, MisRequestField::MisTransAmt);
    SetFieldValue(m_record.saMisTransAmt, amount);
    if (!answer.amount.empty()) amount = answer.amount;
    m_record.dTransAmt = std::strtod(amount.c_str(), nullptr);
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
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastError;
}

bool ScriptedGateway::RequestSent() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requestSent;
}

const TransRecord* ScriptedGateway::Record() const {
    return &m_record;
}

std::vector<std::string> ScriptedGateway::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

std::string ScriptedGateway::LastRequest() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests.empty() ? std::string() : m_requests.back();
}

std::string RequestField(const std::string& request, MisTextField field) {
    if (request.size() <= field.offset) return {};
    return TrimWhitespace(request.substr(field.offset, field.width));
}

UiPoster QueuedPoster::Poster() {
    return [this](std::function<void()> work) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_work.push_back(std::move(work));
        }
        m_posted.notify_one();
    };
}

bool QueuedPoster::DeliverOne() {
    std::function<void()> work;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        // A guard against a hang, not a measurement: a completion comes within milliseconds.
        if (!m_posted.wait_for(lock, std::chrono::seconds(60),
                               [this] { return !m_work.empty(); })) {
            return false;
        }
        work = std::move(m_work.front());
        m_work.pop_front();
    }
    work();
    return true;
}

int ExchangeHarness::Settle() {
    int delivered = 0;
    while (runner.IsRunning() && poster.DeliverOne()) ++delivered;
    return delivered;
}

void RecordingPaymentView::ShowMessage(MessageKind kind, const std::u16string& text) {
    events.push_back("message:" + KindName(kind) + ":" + U8(text));
}

void RecordingPaymentView::ShowNotice(int iconKind, const std::u16string& text,
                                      const std::u16string& button) {
    events.push_back("notice:" + std::to_string(iconKind) + ":" + U8(text) + ":" + U8(button));
}

bool RecordingPaymentView::ShowConfirm(int iconKind, const std::u16string& text,
                                       const std::u16string& confirmButton,
                                       const std::u16string& cancelButton) {
    events.push_back("confirm:" + std::to_string(iconKind) + ":" + U8(text) + ":" +
                     U8(confirmButton) + ":" + U8(cancelButton));
    return true;
}

void RecordingPaymentView::OpenWaitingPrompt(int iconKind, const std::u16string& text,
                                             const std::u16string& queryButton,
                                             const std::u16string& cancelButton) {
    promptOpen = true;
    events.push_back("prompt:open:" + std::to_string(iconKind) + ":" + U8(text) + ":" +
                     U8(queryButton) + ":" + U8(cancelButton));
}

void RecordingPaymentView::CloseWaitingPrompt() {
    promptOpen = false;
    events.push_back("prompt:close");
}

void RecordingListView::ShowRows(const std::vector<QueryRow>& shown) {
    rows = shown;
    selected.reset();
}

void RecordingRefundView::ShowMessage(MessageKind kind, const std::u16string& text) {
    events.push_back("message:" + KindName(kind) + ":" + U8(text));
}

void RecordingRefundView::ShowNotice(int iconKind, const std::u16string& text,
                                     const std::u16string& button) {
    events.push_back("notice:" + std::to_string(iconKind) + ":" + U8(text) + ":" + U8(button));
}

void RecordingRefundView::OpenRefundPrompt(const std::u16string& orderNumber,
                                           const std::u16string& amount) {
    promptOpen = true;
    events.push_back("prompt:open:" + U8(orderNumber) + ":" + U8(amount));
}

void RecordingRefundView::CloseRefundPrompt() {
    promptOpen = false;
    events.push_back("prompt:close");
}

std::u16string ReadSlipFile() {
    std::string bytes = ReadFile("SCprint.txt");
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::u16string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                             static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return text;
}

std::string LastEvent(const std::vector<std::string>& events, const std::string& prefix) {
    for (auto it = events.rbegin(); it != events.rend(); ++it) {
        if (it->rfind(prefix, 0) == 0) return *it;
    }
    return {};
}

}  // namespace zelvo::test
