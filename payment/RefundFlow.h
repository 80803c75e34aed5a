#pragma once

#include <optional>
#include <memory>
#include <string>

#include "payment/ExchangeRunner.h"
#include "payment/FlowServices.h"
#include "payment/FollowedOrder.h"
#include "payment/RequestBuilders.h"

namespace zelvo {

class RefundView;
class TransactionList;
struct QueryRow;
struct TransactionResult;

// The refund of a paid transaction and the reprint of a listed slip, on the query and refund
// page. Runs on the user-interface thread.
class RefundFlow {
public:
    // The administrator's password is read here, once, as the page is created.
    RefundFlow(RefundView& view, TransactionList& list, FlowServices services);

    void OpenRefund();
    void StartRefund(const std::u16string& orderNumber, const std::u16string& amount,
                     const std::u16string& password);
    void RefundPromptClosed() { m_promptOpen = false; }
    bool RefundPromptOpen() const { return m_promptOpen; }

    // Writes SCprint.txt for a listed row; false when the file could not be written.
    bool ReprintSlip(const QueryRow& row);
    // The selected row's slip, printed unless slips wait for the settlement.
    void ReprintSelected();

private:
    void OnExchangeDone(ExchangeResult result);
    void OnRefundAnswer(TransactionResult& answer, const std::string& code);
    void OnRefundQueryAnswer(TransactionResult& answer, const std::string& code);
    void RefundSucceeded(TransactionResult& answer);
    void SendRefundQuery();
    void FollowUpOrGiveUp(int& count);
    bool StartExchange();

    RefundView& m_view;
    TransactionList& m_list;
    FlowServices m_services;
    // Unset when it could not be read: then no password opens a refund.
    std::optional<std::u16string> m_adminPassword;
    RequestBuffer m_request{};
    // Completions hold it weakly: one that arrives after the flow is gone is dropped.
    std::shared_ptr<const bool> m_lifetime = std::make_shared<const bool>(true);
    std::u16string m_refundAmount;
    std::u16string m_refundOrderNumber;
    // The refund's own order number, kept from its builder for the queries that follow it.
    std::string m_refundOwnOrderNumber;
    int m_queryCount = 0;
    int m_failureCount = 0;
    bool m_promptOpen = false;
    // Exchanges started: a completion that starts none ends the refund's follow-up.
    int m_exchangesStarted = 0;
    FollowedOrder m_followed{m_services};
};

}  // namespace zelvo
