#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "payment/ExchangeRunner.h"
#include "payment/PaymentView.h"

namespace zelvo {

// Stands in for the user-interface thread of a program without a window: exchange completions
// wait here until the main loop runs them.
class WorkQueue {
public:
    UiPoster Poster();
    // Runs the next posted piece of work, waiting at most `timeout`; false when none came.
    bool RunOne(std::chrono::milliseconds timeout);

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_work;
};

// The payment page without a window: the boxes hold what was given on the command line, the
// texts the operator would see go to `messages`, and the waiting prompt is a flag with the
// moment it first opened.
class HeadlessPaymentView : public PaymentView {
public:
    HeadlessPaymentView(std::u16string amount, std::u16string code,
                        std::function<void(const std::u16string&)> messages);

    std::u16string AmountBoxText() const override { return m_amount; }
    std::u16string CodeBoxText() const override { return m_code; }
    void SetAmountBoxText(const std::u16string& text) override { m_amount = text; }
    void SetCodeBoxText(const std::u16string& text) override { m_code = text; }
    void SetAmountDisplay(const std::u16string&) override {}
    void FocusAmountBox() override {}
    void FocusCodeBox() override {}
    bool NetworkUp() const override { return true; }
    void CloseKeypad() override {}
    void ShowMessage(MessageKind kind, const std::u16string& text) override;
    void ShowNotice(IconKind iconKind, const std::u16string& text,
                    const std::u16string& button) override;
    bool ShowConfirm(IconKind iconKind, const std::u16string& text, const std::u16string& confirmButton,
                     const std::u16string& cancelButton) override;
    void OpenWaitingPrompt(IconKind iconKind, const std::u16string& text,
                           const std::u16string& queryButton,
                           const std::u16string& cancelButton) override;
    void CloseWaitingPrompt() override {}
    void ShowPaymentLog(const std::deque<PaymentLogLine>& lines) override;

    // When the customer was first found still paying; none before.
    std::optional<std::chrono::steady_clock::time_point> WaitingSince() const {
        return m_waitingSince;
    }

private:
    std::u16string m_amount;
    std::u16string m_code;
    std::function<void(const std::u16string&)> m_messages;
    std::optional<std::chrono::steady_clock::time_point> m_waitingSince;
};

}  // namespace zelvo
