#include "payment/Reconciler.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "base/CodePage.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/MisCilConfig.h"
#include "MISCIL/TxnCodes.h"
#include "payment/ExchangeRunner.h"
#include "payment/FlowServices.h"
#include "payment/GatewayExchange.h"
#include "payment/TransactionResult.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

constexpr std::chrono::milliseconds kGapPoll{100};
constexpr std::string_view kCancelledAnyway = "H3";

// What writing a confirmed order's row did: a row already written by someone else is no action.
ReconcileAction ActionAfterWrite(JournalWrite written) {
    switch (written) {
        case JournalWrite::Written:
            return ReconcileAction::Recorded;
        case JournalWrite::AlreadyClosed:
            return ReconcileAction::Skipped;
        case JournalWrite::Failed:
            break;
    }
    return ReconcileAction::LeftOpen;
}

// The row of a confirmed order, as its flow would have written it from the query's answer.
TransactionResult ConfirmedRow(const JournalEntry& entry, const TransactionResult& query) {
    TransactionResult row = query;
    row.txnType = entry.txnType;
    row.orderNum = entry.orderNum;
    row.origOrderNum = entry.txnType == TxnCode::Refund ? entry.origOrderNum : std::string();
    row.respCode = std::string(RespCode::Success);
    // The amount sent, as the flow records it: a query's answer need not carry it.
    row.amountText = entry.amountText;
    row.transAmt = std::strtod(entry.amountText.c_str(), nullptr);
    return row;
}

}  // namespace

std::vector<ReconcileItem> Reconciler::RunRound(CLocalDb& db) {
    std::vector<ReconcileItem> items;
    for (const JournalEntry& entry : OpenJournalEntries(db)) {
        if (Stopping()) break;
        ReconcileItem item{entry};
        if ((m_services.journal && m_services.journal->IsFollowed(entry.orderNum)) ||
            FollowedElsewhere(entry, CurrentClock().Now())) {
            item.action = ReconcileAction::Skipped;
            items.push_back(std::move(item));
            continue;
        }
        if (!HoldExchangeSlot()) break;
        if (entry.txnType == TxnCode::Refund) {
            ReconcileRefund(db, item);
        } else {
            ReconcilePurchase(db, item);
        }
        if (item.action == ReconcileAction::Recorded && m_services.recorded) {
            m_services.recorded(item);
        }
        m_services.exchanges.ReleaseHold();
        items.push_back(std::move(item));
    }
    return items;
}

bool Reconciler::QueryOrder(std::string_view txnType, ReconcileItem& item,
                            TransactionResult& answer) {
    ClearRequest(m_request);
    BuildQuery(txnType, item.entry.orderNum, item.entry.amountText, m_request);
    if (!Exchange(item.entry, answer)) return false;
    item.respCode = answer.respCode;
    return true;
}

void Reconciler::RecordConfirmed(CLocalDb& db, ReconcileItem& item,
                                 const TransactionResult& answer, RecordFunction record) {
    TransactionResult row = ConfirmedRow(item.entry, answer);
    item.amount = row.transAmt;
    item.action = ActionAfterWrite(record(db, row, item.entry.operatorId, CurrentClock().Now()));
}

void Reconciler::ReconcilePurchase(CLocalDb& db, ReconcileItem& item) {
    TransactionResult answer;
    if (!QueryOrder(TxnCode::Purchase, item, answer)) return;
    const std::string code = EffectiveRespCode(answer);
    if (code == RespCode::Success) {
        RecordConfirmed(db, item, answer, JournalRecordPayment);
    } else if (IsOpenOutcome(code)) {
        CancelPurchase(db, item);
    } else if (JournalClose(db, item.entry.orderNum, JournalState::NotPaid)) {
        item.action = ReconcileAction::Closed;
    }
}

void Reconciler::CancelPurchase(CLocalDb& db, ReconcileItem& item) {
    // As the payment page cancels: "00" or "H3" closes the order; any other answer is followed
    // by another cancel, four in all. What stays open is queried next round, so a customer who
    // paid in the meantime is recorded then.
    for (int sent = 0; sent <= kFollowUpLimit; ++sent) {
        ClearRequest(m_request);
        BuildCancel(item.entry.amountText, item.entry.orderNum, m_request);
        TransactionResult answer;
        if (!Exchange(item.entry, answer)) return;
        item.respCode = answer.respCode;
        const bool cancelled =
            (answer.respCode == RespCode::Success && !IsUnverifiedSuccess(answer)) ||
            answer.respCode == kCancelledAnyway;
        if (cancelled) {
            if (JournalClose(db, item.entry.orderNum, JournalState::Cancelled)) {
                item.action = ReconcileAction::Cancelled;
            }
            return;
        }
    }
}

void Reconciler::ReconcileRefund(CLocalDb& db, ReconcileItem& item) {
    TransactionResult answer;
    if (!QueryOrder(TxnCode::Refund, item, answer)) return;
    const std::string code = EffectiveRespCode(answer);
    if (code == RespCode::Success) {
        RecordConfirmed(db, item, answer, JournalRecordRefund);
    } else if (!IsOpenOutcome(code) &&
               JournalClose(db, item.entry.orderNum, JournalState::NotPaid)) {
        // A refund cannot be cancelled: one still open waits for the next round.
        item.action = ReconcileAction::Closed;
    }
}

bool Reconciler::HoldExchangeSlot() {
    while (!m_services.exchanges.TryHold()) {
        if (Stopping()) return false;
        std::this_thread::sleep_for(kGapPoll);
    }
    return true;
}

bool Reconciler::Exchange(const JournalEntry& entry, TransactionResult& answer) {
    if (Stopping()) return false;
    ExchangeRunner& runner = m_services.exchanges;
    // The slip the library writes on a "00" names the operator who took the order.
    const std::string operatorBefore = MisCilOperatorId();
    MisCilSetOperatorId(entry.operatorId);
    const bool completed = RunExchange(runner.Gateway(), m_request) == ExchangeResult::Completed;
    if (completed) ReadTransactionResult(runner.Gateway().Record(), answer);
    MisCilSetOperatorId(operatorBefore);
    return completed;
}

std::u16string RecoveredOrderText(const ReconcileItem& item) {
    char amount[32];
    std::snprintf(amount, sizeof amount, "%s%.2f", item.entry.txnType == TxnCode::Refund ? "-" : "",
                  item.amount);
    const std::u16string kind =
        item.entry.txnType == TxnCode::Refund ? u"已找回退款" : u"已找回付款";
    return kind + u"，订单号：" + GbkToUtf16(item.entry.orderNum) + u"，金额：" +
           Utf8ToUtf16(amount);
}

}  // namespace zelvo
