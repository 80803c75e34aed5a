#include "payment/RefundFlow.h"

#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "base/Text.h"
#include "MISCIL/MisCil.h"
#include "payment/ExchangeRunner.h"
#include "payment/GatewayExchange.h"
#include "payment/OrderJournal.h"
#include "payment/OrderNumber.h"
#include "payment/PaymentLog.h"
#include "payment/QueryRow.h"
#include "payment/RefundView.h"
#include "payment/SlipReprint.h"
#include "payment/TransactionList.h"
#include "payment/TransactionLog.h"
#include "payment/TransactionResult.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

constexpr std::u16string_view kRetryText = u"退款失败了，请再试一次！";
constexpr std::u16string_view kAskManagerText = u"请联系客户经理确认退款状态";
constexpr std::u16string_view kRefusedPrefix = u"退款失败，原因：";
constexpr std::string_view kBestPayCode = "YZF";

std::optional<std::u16string> ReadAdminPassword(CLocalDb* db) {
    SqlRows result;
    if (!db || !db->Query("select PassWord from User where ID = ?", {std::string("00")}, result) ||
        result.rows.empty()) {
        return std::nullopt;
    }
    return GbkToUtf16(result.rows.back().at(0));
}

}  // namespace

RefundFlow::RefundFlow(RefundView& view, TransactionList& list, FlowServices services)
    : m_view(view), m_list(list), m_services(std::move(services)) {
    m_adminPassword = ReadAdminPassword(m_services.database ? m_services.database() : nullptr);
    ClearRequest(m_request);
}

void RefundFlow::OpenRefund() {
    if (!m_view.NetworkUp()) {
        m_view.ShowNotice(kNoticeIcon, std::u16string(kOfflineText),
                          std::u16string(kUnderstoodButton));
        return;
    }
    m_view.CloseSettlementPrompt();
    if (m_promptOpen) {
        m_view.CloseRefundPrompt();
        m_promptOpen = false;
    }
    std::u16string orderNumber;
    std::u16string amount;
    const QueryRow* selected = m_view.GridHasFocus() ? m_list.SelectedRow() : nullptr;
    if (selected) {
        if (!EqualsIgnoringCase(selected->status, kStatusPaid)) {
            m_view.ShowMessage(MessageKind::Notice, u"不能退款！");
            return;
        }
        orderNumber = selected->orderNum;
        amount = selected->amount;
    }
    if (orderNumber.empty()) {
        orderNumber = m_view.SearchText();
        amount.clear();
    }
    m_view.OpenRefundPrompt(orderNumber, amount);
    m_promptOpen = true;
}

void RefundFlow::StartRefund(const std::u16string& orderNumber, const std::u16string& amount,
                             const std::u16string& password) {
    // Refused before anything changes: the prompt stays open for a later try.
    if (m_services.exchanges.IsRunning()) {
        m_view.ShowMessage(MessageKind::Notice, std::u16string(kBusyText));
        return;
    }
    ClearRequest(m_request);
    if (!m_adminPassword || !EqualsIgnoringCase(password, *m_adminPassword)) {
        m_view.ShowMessage(MessageKind::Error, u"密码错误！");
        m_view.ResetPasswordBox();
        return;
    }
    m_view.CloseRefundPrompt();
    m_promptOpen = false;
    m_refundAmount = amount;
    m_refundOrderNumber = orderNumber;
    if (m_refundAmount.empty()) {
        m_view.ShowMessage(MessageKind::Error, u"退款失败了，退款金额为空！");
        return;
    }
    if (m_refundOrderNumber.empty()) {
        m_view.ShowMessage(MessageKind::Error, u"退款失败了，退款订单号为空！");
        return;
    }
    BuildRefund(Utf16ToGbk(m_refundAmount), Utf16ToGbk(m_refundOrderNumber), m_request);
    m_refundOwnOrderNumber = LastOrderNumber();
    m_queryCount = m_failureCount = 0;
    JournalEntry entry =
        NewJournalEntry(TxnCode::Refund, m_refundOwnOrderNumber, Utf16ToGbk(m_refundAmount),
                        m_followed.OperatorId(), CurrentClock().Now());
    entry.origOrderNum = Utf16ToGbk(m_refundOrderNumber);
    if (!m_followed.Open(entry)) {
        m_view.ShowMessage(MessageKind::Error, std::u16string(kTransLogFailedText));
        return;
    }
    if (!StartExchange()) {
        m_followed.Close(JournalState::NotPaid);  // it never left
        m_followed.Release();
    }
}

bool RefundFlow::StartExchange() {
    auto done = WhileAlive(m_lifetime, [this](ExchangeResult result) {
        const int started = m_exchangesStarted;
        OnExchangeDone(result);
        if (m_exchangesStarted == started) m_followed.Release();
    });
    if (m_services.exchanges.Start(m_request, done)) {
        ++m_exchangesStarted;
        return true;
    }
    m_view.ShowMessage(MessageKind::Notice, std::u16string(kBusyText));
    return false;
}

void RefundFlow::SendRefundQuery() {
    ClearRequest(m_request);
    BuildQuery(TxnCode::Refund, m_refundOwnOrderNumber, Utf16ToGbk(m_refundAmount), m_request);
    StartExchange();
}

void RefundFlow::FollowUpOrGiveUp(int& count) {
    if (CountAndCheckLimit(count)) {
        m_view.ShowMessage(MessageKind::Error, std::u16string(kAskManagerText));
    } else {
        SendRefundQuery();
    }
}

void RefundFlow::OnExchangeDone(ExchangeResult result) {
    if (result == ExchangeResult::NothingSent) {
        m_view.ShowMessage(MessageKind::Error, std::u16string(kRetryText));
        return;
    }
    GatewayExchange& gateway = m_services.exchanges.Gateway();
    TransactionResult answer;
    ReadTransactionResult(gateway.Record(), answer);
    if (result != ExchangeResult::Completed) {
        // No answer, or one that could not be read: the gateway may have refunded, so a second
        // refund must not be offered before a query has said what became of this one.
        if (gateway.RequestSent()) {
            FollowUpOrGiveUp(m_failureCount);
        } else {
            m_view.ShowMessage(MessageKind::Error, std::u16string(kRetryText));
        }
        return;
    }
    const std::string code = EffectiveRespCode(answer);
    if (answer.txnType == TxnCode::Refund) {
        OnRefundAnswer(answer, code);
    } else {
        OnRefundQueryAnswer(answer, code);
    }
}

void RefundFlow::OnRefundAnswer(TransactionResult& answer, const std::string& code) {
    if (code == RespCode::Success) {
        RefundSucceeded(answer);
    } else if (IsOpenOutcome(code)) {
        SendRefundQuery();
    } else if (code == "R3" || code == "H3") {
        // The gateway's own words: the refund was taken care of already.
        m_followed.Close(JournalState::NotPaid);
        m_view.ShowMessage(MessageKind::Success, GbkToUtf16(answer.errDetail));
    } else {
        m_followed.Close(JournalState::NotPaid);
        m_view.ShowMessage(MessageKind::Error,
                           std::u16string(kRefusedPrefix) + GbkToUtf16(answer.errDetail));
    }
}

void RefundFlow::OnRefundQueryAnswer(TransactionResult& answer, const std::string& code) {
    if (code == RespCode::Success) {
        // Recorded as the refund it confirms, under the refund's own order number. The query's
        // original order is the refund itself; the row must point at the refunded purchase.
        answer.txnType = TxnCode::Refund;
        answer.orderNum = m_refundOwnOrderNumber;
        answer.origOrderNum = Utf16ToGbk(m_refundOrderNumber);
        RefundSucceeded(answer);
    } else if (IsOpenOutcome(code)) {
        FollowUpOrGiveUp(m_queryCount);
    } else {
        m_view.ShowMessage(MessageKind::Error,
                           std::u16string(kRefusedPrefix) + GbkToUtf16(answer.errDetail));
    }
}

void RefundFlow::RefundSucceeded(TransactionResult& answer) {
    if (answer.channelCode == kBestPayCode) answer.origOrderNum = Utf16ToGbk(m_refundOrderNumber);
    const LocalTime now = CurrentClock().Now();
    const std::string operatorId = m_followed.OperatorId();
    if (!m_followed.RecordRefund(answer, now)) {
        m_view.ShowNotice(kNoticeIcon, std::u16string(kTransLogFailedText),
                          std::u16string(kUnderstoodButton));
    }

    QueryRow row;
    row.dateTime = Utf8ToUtf16(FormatLocalTime(now, "%Y-%m-%d %H:%M:%S"));
    row.status = kStatusRefunded;
    row.operatorId = GbkToUtf16(operatorId);
    row.orderNum = GbkToUtf16(m_refundOwnOrderNumber);
    row.amount = StoredAmountText("-" + Utf16ToGbk(m_refundAmount));
    row.channel = ChannelName(answer.channelCode);
    row.respCode = GbkToUtf16(answer.respCode);
    row.transCode = TxnCode::Refund;
    row.origOrderNum = answer.origOrderNum;
    m_list.AddRowAtTop(std::move(row));

    m_view.ShowMessage(MessageKind::Success, u"退款成功！");
    m_view.CloseKeypad();
    // The gateway library wrote the refund slip when the answer came.
    if (PrintsSlipAfterTransaction(m_services.config) && m_services.startPrintJob) {
        m_services.startPrintJob();
    }
}

bool RefundFlow::ReprintSlip(const QueryRow& row) {
    CLocalDb* db = m_services.database ? m_services.database() : nullptr;
    return zelvo::ReprintSlip(db, row, LoadedSlipTerminal());
}

void RefundFlow::ReprintSelected() {
    const QueryRow* row = m_list.SelectedRow();
    if (!row) return;
    if (!ReprintSlip(*row)) {
        m_view.ShowMessage(MessageKind::Error, u"打印文件失败！");
        return;
    }
    if (PrintsSlipAfterTransaction(m_services.config) && m_services.startPrintJob) {
        m_services.startPrintJob();
    }
}

}  // namespace zelvo
