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

void RecordingPaymentView::ShowNotice(IconKind iconKind, const std::u16string& text,
                                      const std::u16string& button) {
    events.push_back("notice:" + std::to_string(static_cast<int>(iconKind)) + ":" + U8(text) + ":" +
                     U8(button));
}

bool RecordingPaymentView::ShowConfirm(IconKind iconKind, const std::u16string& text,
                                       const std::u16string& confirmButton,
                                       const std::u16string& cancelButton) {
    events.push_back("confirm:" + std::to_string(static_cast<int>(iconKind)) + ":" + U8(text) +
                     ":" + U8(confirmButton) + ":" + U8(cancelButton));
    return true;
}

void RecordingPaymentView::OpenWaitingPrompt(IconKind iconKind, const std::u16string& text,
                                             const std::u16string& queryButton,
                                             const std::u16string& cancelButton) {
    promptOpen = true;
    events.push_back("prompt:open:" + std::to_string(static_cast<int>(iconKind)) + ":" + U8(text) +
                     ":" + U8(queryButton) + ":" + U8(cancelButton));
}

void RecordingPaymentView::CloseWaitingPrompt() {
    promptOpen = false;
    events.push_back("prompt:close");
}

void RecordingRefundView::ShowMessage(MessageKind kind, const std::u16string& text) {
    events.push_back("message:" + KindName(kind) + ":" + U8(text));
}

void RecordingRefundView::ShowNotice(IconKind iconKind, const std::u16string& text,
                                     const std::u16string& button) {
    events.push_back("notice:" + std::to_string(static_cast<int>(iconKind)) + ":" + U8(text) + ":" +
                     U8(button));
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
