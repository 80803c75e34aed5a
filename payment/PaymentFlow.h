#pragma once

#include <memory>
#include <string>

#include "payment/ExchangeRunner.h"
#include "payment/FlowServices.h"
#include "payment/FollowedOrder.h"
#include "payment/PaymentLog.h"
#include "payment/RequestBuilders.h"
#include "payment/TransactionResult.h"

namespace zelvo {

class PaymentView;

// Where a payment stands between the operator's actions and the gateway's answers.
enum class PaymentState {
    Idle,
    Purchasing,
    WaitingForCustomer,  // the waiting prompt is open
    ManualQuery,         // the operator asked from the waiting prompt
    AutomaticQuery,      // no clear answer yet: the flow asks by itself
    Cancelling,
};

// The payment page's behaviour: checks the amount and the payment code, sends the purchase and
// follows its answer with queries and cancellations until the payment is settled one way or
// the other. Runs on the user-interface thread.
class PaymentFlow {
public:
    PaymentFlow(PaymentView& view, FlowServices services);

    // Operator actions.
    void AmountEdited();
    void EnterInAmountBox();
    void ConfirmPayment();
    void KeypadKey(int key, bool amountBoxFocused);
    void QueryNow();
    void CancelWaiting();
    // The amount read off the till's screen.
    void SetAmount(const std::u16string& text);
    void Activate();

    PaymentState State() const { return m_state; }
    const TransactionResult& PendingPayment() const { return m_pending; }
    const PaymentLog& Log() const { return m_log; }

private:
    void StartPurchase();
    bool OpenJournal();
    void ReleaseIfIdle();
    bool StartExchange();
    void OnExchangeDone(ExchangeResult result);
    void OnPurchaseAnswer(TransactionResult& answer, const std::string& code);
    void OnManualQueryAnswer(const TransactionResult& answer, const std::string& code);
    void OnAutomaticQueryAnswer(const TransactionResult& answer, const std::string& code);
    void OnCancelAnswer(TransactionResult& answer, const std::string& code);
    void OnExchangeFailed(const TransactionResult& answer);

    void CompletePendingPayment(const TransactionResult& queryAnswer);
    void KeepPending(const TransactionResult& answer, const std::string& code);
    void AdoptOwnPurchase();
    double SentAmount() const;
    void HoldSentAmount(TransactionResult& answer) const;
    void LogAmountDisagreement(const TransactionResult& answer) const;
    void ResendQuery();
    void ResendCancel();
    void Reset();
    void EndWithNotice(const std::u16string& text);
    void AskRetryOrCash();
    void AddLine(const TransactionResult& result);
    void AddFailureLine();
    void Record(const TransactionResult& result);
    void Print();
    void ShowNotice(std::u16string_view text);

    PaymentView& m_view;
    FlowServices m_services;
    RequestBuffer m_request{};
    // Completions hold it weakly: one that arrives after the flow is gone is dropped.
    std::shared_ptr<const bool> m_lifetime = std::make_shared<const bool>(true);
    std::u16string m_amountText;
    std::u16string m_codeText;
    // The amount of the open purchase as it was sent (8-bit): fixed until the purchase ends.
    std::string m_sentAmountText;
    TransactionResult m_pending;
    int m_queryCount = 0;
    int m_cancelCount = 0;
    int m_failureCount = 0;
    bool m_manualQuery = false;
    // The operator cancelled while a query of theirs was still running: cancel once it answers,
    // unless it says the customer has paid.
    bool m_cancelAfterQuery = false;
    PaymentLog m_log;
    PaymentState m_state = PaymentState::Idle;
    FollowedOrder m_followed{m_services};
};

}  // namespace zelvo
