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
#include "payment/TransactionListView.h"

namespace zelvo::test {

// One scripted outcome of an exchange: the library's result, its last error and the answer.
struct ScriptedAnswer {
    int result = 1;
    int lastError = 0;
    bool requestSent = true;
    std::string respCode;
    std::string channel = "WXP";
    std::string account;
    std::string channelOrderNum;
    std::string errDetail;
    // The amount the answer carries; empty: the amount of the request it answers.
    std::string amount;
    // The original order the answer names; empty: the one of the request it answers.
    std::string origOrderNum;
};

ScriptedAnswer Answer(const std::string& respCode, const std::string& channel = "WXP");
// A failed exchange; connection failures (14, 15, 19) happen before the request leaves.
ScriptedAnswer Failure(int lastError);

// A gateway that answers from a script and keeps every request it was given. Like the library,
// the record holds the request's own fields beside the answer's.
class ScriptedGateway : public GatewayExchange {
public:
    void Script(ScriptedAnswer answer);
    int Exchange(const char* request) override;
    int LastError() const override;
    bool RequestSent() const override;
    const TransRecord* Record() const override;

    std::vector<std::string> Requests() const;
    std::string LastRequest() const;

private:
    mutable std::mutex m_mutex;
    std::deque<ScriptedAnswer> m_script;
    std::vector<std::string> m_requests;
    TransRecord m_record{};
    int m_lastError = 0;
    bool m_requestSent = false;
};

// A field of a request text, without its padding.
std::string RequestField(const std::string& request, MisTextField field);

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
    void ShowNotice(int iconKind, const std::u16string& text,
                    const std::u16string& button) override;
    bool ShowConfirm(int iconKind, const std::u16string& text, const std::u16string& confirmButton,
                     const std::u16string& cancelButton) override;
    void OpenWaitingPrompt(int iconKind, const std::u16string& text,
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

// The grid of the query and refund page.
class RecordingListView : public TransactionListView {
public:
    void ShowRows(const std::vector<QueryRow>& rows) override;
    void SelectRow(std::size_t index) override { selected = index; }
    std::optional<std::size_t> SelectedRow() const override { return selected; }
    void FocusGrid() override {}
    std::u16string SearchText() const override { return {}; }
    void SetSearchText(const std::u16string&) override {}
    void FocusSearchBox() override {}
    void ShowMessage(MessageKind, const std::u16string&) override {}

    std::vector<QueryRow> rows;
    std::optional<std::size_t> selected;
};

class RecordingRefundView : public RefundView {
public:
    bool NetworkUp() const override { return network; }
    bool GridHasFocus() const override { return gridFocused; }
    std::u16string SearchText() const override { return search; }
    void ShowMessage(MessageKind kind, const std::u16string& text) override;
    void ShowNotice(int iconKind, const std::u16string& text,
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
