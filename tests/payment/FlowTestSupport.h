#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "MISCIL/FieldTables.h"
#include "MISCIL/TransRecord.h"
#include "payment/ExchangeRunner.h"
#include "payment/GatewayExchange.h"
#include "payment/PaymentView.h"
#include "payment/RefundView.h"
#include "tests/support/RecordingListView.h"
#include "tests/support/ScriptedGateway.h"

namespace zelvo::test {

// Stands in for the user-interface thread: completions wait here until the test delivers them.
class QueuedPoster {
public:
    UiPoster Poster();
    // Runs the next posted completion, waiting for the worker to post it; false if none came.
    bool DeliverOne();

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_work;
};

// A runner over a scripted gateway, with the test as its user-interface thread.
struct ExchangeHarness {
    ScriptedGateway gateway;
    QueuedPoster poster;
    ExchangeRunner runner{gateway, poster.Poster()};

    // Delivers completions until no exchange runs; the number delivered.
    int Settle();
};

// Records what the flow asks of the payment page; boxes hold what was put into them.
class RecordingPaymentView : public PaymentView {
public:
    std::u16string AmountBoxText() const override { return amountBox; }
    std::u16string CodeBoxText() const override { return codeBox; }
    void SetAmountBoxText(const std::u16string& text) override { amountBox = text; }
    void SetCodeBoxText(const std::u16string& text) override { codeBox = text; }
    void SetAmountDisplay(const std::u16string& text) override { amountDisplay = text; }
    void FocusAmountBox() override { focus = "amount"; }
    void FocusCodeBox() override { focus = "code"; }
    bool NetworkUp() const override { return network; }
    void CloseKeypad() override { ++keypadCloses; }
    void ShowMessage(MessageKind kind, const std::u16string& text) override;
    void ShowNotice(IconKind iconKind, const std::u16string& text,
                    const std::u16string& button) override;
    bool ShowConfirm(IconKind iconKind, const std::u16string& text,
                     const std::u16string& confirmButton,
                     const std::u16string& cancelButton) override;
    void OpenWaitingPrompt(IconKind iconKind, const std::u16string& text,
                           const std::u16string& queryButton,
                           const std::u16string& cancelButton) override;
    void CloseWaitingPrompt() override;
    void ShowPaymentLog(const std::deque<PaymentLogLine>& lines) override { log = lines; }

    std::u16string amountBox;
    std::u16string codeBox;
    std::u16string amountDisplay;
    std::string focus;
    bool network = true;
    int keypadCloses = 0;
    bool promptOpen = false;
    std::deque<PaymentLogLine> log;
    // "message:<kind>:<text>", "notice:<icon>:<text>:<button>", "confirm:...", "prompt:..."
    std::vector<std::string> events;
};

class RecordingRefundView : public RefundView {
public:
    bool NetworkUp() const override { return network; }
    bool GridHasFocus() const override { return gridFocused; }
    std::u16string SearchText() const override { return search; }
    void ShowMessage(MessageKind kind, const std::u16string& text) override;
    void ShowNotice(IconKind iconKind, const std::u16string& text,
                    const std::u16string& button) override;
    void OpenRefundPrompt(const std::u16string& orderNumber, const std::u16string& amount) override;
    void CloseRefundPrompt() override;
    void ResetPasswordBox() override { events.push_back("password:reset"); }
    void CloseSettlementPrompt() override { events.push_back("settlement:close"); }
    void CloseKeypad() override { events.push_back("keypad:close"); }

    bool network = true;
    bool gridFocused = false;
    std::u16string search;
    bool promptOpen = false;
    std::vector<std::string> events;
};

// SCprint.txt of the current directory as text (its byte-order mark checked and dropped).
std::u16string ReadSlipFile();

// The last event of the flow that starts with `prefix`; empty when there is none.
std::string LastEvent(const std::vector<std::string>& events, const std::string& prefix);

}  // namespace zelvo::test
