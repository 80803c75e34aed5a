#include "payment/PaymentFlow.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"
#include "payment/ExchangeRunner.h"
#include "payment/GatewayExchange.h"
#include "payment/OrderJournal.h"
#include "payment/OrderNumber.h"
#include "payment/PaymentInput.h"
#include "payment/PaymentView.h"
#include "payment/TransactionLog.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

constexpr IconKind kWaitingIcon = IconKind::Attention;
constexpr std::string_view kCancelledAnyway = "H3";
constexpr int kAmountMismatchLocation = 3201;
// Half a fen: closer than this, two amounts in yuan are the same amount.
constexpr double kSameAmount = 0.005;

}  // namespace

PaymentFlow::PaymentFlow(PaymentView& view, FlowServices services)
    : m_view(view), m_services(std::move(services)) {
    ClearRequest(m_request);
}

void PaymentFlow::AmountEdited() {
    m_view.SetAmountDisplay(m_view.AmountBoxText());
}

void PaymentFlow::EnterInAmountBox() {
    m_amountText = m_view.AmountBoxText();
    std::u16string error = ValidateAmount(m_amountText);
    if (!error.empty()) {
        m_view.ShowMessage(MessageKind::Error, error);
        m_view.SetAmountBoxText(u"");
        return;
    }
    m_view.FocusCodeBox();
}

void PaymentFlow::ConfirmPayment() {
    if (m_services.exchanges.IsRunning()) {
        m_view.ShowMessage(MessageKind::Notice, std::u16string(kBusyText));
        return;
    }
    m_amountText = m_view.AmountBoxText();
    m_codeText = m_view.CodeBoxText();
    std::u16string error = ValidateAmount(m_amountText);
    if (!error.empty()) {
        m_view.ShowMessage(MessageKind::Error, error);
        m_view.SetAmountBoxText(u"");
        m_view.FocusAmountBox();
        return;
    }
    error = ValidatePaymentCode(m_codeText);
    if (!error.empty()) {
        m_view.ShowMessage(MessageKind::Error, error);
        m_view.SetCodeBoxText(u"");
        m_view.FocusCodeBox();
        return;
    }
    StartPurchase();
}

void PaymentFlow::KeypadKey(int key, bool amountBoxFocused) {
    if (key == KeypadKey::Confirm) {
        m_view.CloseKeypad();
        amountBoxFocused ? EnterInAmountBox() : ConfirmPayment();
        return;
    }
    if (amountBoxFocused) {
        std::u16string text = m_view.AmountBoxText();
        if (ApplyAmountKeypadKey(text, key)) m_view.SetAmountBoxText(text);
    } else {
        std::u16string text = m_view.CodeBoxText();
        if (ApplyKeypadKey(text, key)) m_view.SetCodeBoxText(text);
    }
    AmountEdited();
}

void PaymentFlow::QueryNow() {
    if (m_services.exchanges.IsRunning()) {
        m_view.ShowMessage(MessageKind::Notice, std::u16string(kBusyText));
        return;
    }
    if (m_state != PaymentState::WaitingForCustomer) return;
    ClearRequest(m_request);
    BuildQuery(TxnCode::Purchase, m_pending.orderNum, m_pending.amountText, m_request);
    if (StartExchange()) {
        m_manualQuery = true;
        m_state = PaymentState::ManualQuery;
    }
}

void PaymentFlow::CancelWaiting() {
    if (m_state == PaymentState::ManualQuery) {
        m_cancelAfterQuery = true;
        return;
    }
    if (m_state != PaymentState::WaitingForCustomer) return;
    ResendCancel();
    m_manualQuery = false;
    Reset();
    ReleaseIfIdle();
}

void PaymentFlow::SetAmount(const std::u16string& text) {
    m_view.SetAmountBoxText(text);
    m_view.SetAmountDisplay(text);
    m_view.FocusCodeBox();
}

void PaymentFlow::Activate() {
    if (m_view.AmountBoxText().empty()) {
        m_view.FocusAmountBox();
    } else {
        m_view.FocusCodeBox();
    }
}

void PaymentFlow::StartPurchase() {
    if (!m_view.NetworkUp()) {
        ShowNotice(kOfflineText);
        m_codeText.clear();
        m_view.SetCodeBoxText(u"");
        m_view.FocusCodeBox();
        return;
    }
    m_view.CloseKeypad();
    ClearRequest(m_request);
    m_sentAmountText = Utf16ToGbk(m_amountText);
    BuildPurchase(m_sentAmountText, Utf16ToGbk(m_codeText), m_request, m_services.config.Currency);
    m_queryCount = m_cancelCount = m_failureCount = 0;
    m_pending = TransactionResult{};
    m_manualQuery = m_cancelAfterQuery = false;
    if (!OpenJournal()) return;
    if (StartExchange()) {
        m_state = PaymentState::Purchasing;
    } else {
        m_followed.Close(JournalState::NotPaid);  // it never left
        m_followed.Release();
    }
}

bool PaymentFlow::OpenJournal() {
    JournalEntry entry = NewJournalEntry(TxnCode::Purchase, LastPurchaseOrderNumber(),
                                         m_sentAmountText, m_followed.OperatorId(),
                                         CurrentClock().Now());
    entry.payCode = MaskAccountNumber(Utf16ToGbk(m_codeText), {});
    if (m_followed.Open(entry)) return true;
    ShowNotice(kTransLogFailedText);
    return false;
}

void PaymentFlow::ReleaseIfIdle() {
    if (m_state == PaymentState::Idle) m_followed.Release();
}

bool PaymentFlow::StartExchange() {
    auto done = WhileAlive(m_lifetime, [this](ExchangeResult result) {
        OnExchangeDone(result);
        ReleaseIfIdle();
    });
    if (m_services.exchanges.Start(m_request, done)) return true;
    m_view.ShowMessage(MessageKind::Notice, std::u16string(kBusyText));
    return false;
}

void PaymentFlow::OnExchangeDone(ExchangeResult result) {
    if (result == ExchangeResult::NothingSent) {
        m_state = PaymentState::Idle;
        AskRetryOrCash();
        Reset();
        AddFailureLine();
        return;
    }
    TransactionResult answer;
    ReadTransactionResult(m_services.exchanges.Gateway().Record(), answer);
    if (result != ExchangeResult::Completed) {
        OnExchangeFailed(answer);
        return;
    }
    const std::string code = EffectiveRespCode(answer);
    if (answer.txnType == TxnCode::Query) {
        if (m_manualQuery) {
            OnManualQueryAnswer(answer, code);
        } else {
            OnAutomaticQueryAnswer(answer, code);
        }
    } else if (answer.txnType == TxnCode::Cancel) {
        OnCancelAnswer(answer, code);
    } else {
        OnPurchaseAnswer(answer, code);
    }
}

void PaymentFlow::OnPurchaseAnswer(TransactionResult& answer, const std::string& code) {
    HoldSentAmount(answer);
    if (code == RespCode::Success) {
        m_state = PaymentState::Idle;
        AddLine(answer);
        Record(answer);
        m_amountText.clear();
        m_codeText.clear();
        m_view.ShowMessage(MessageKind::Success, u"支付成功！");
        Reset();
        Print();
    } else if (code == RespCode::InProgress) {
        KeepPending(answer, code);
        m_state = PaymentState::WaitingForCustomer;
        m_view.OpenWaitingPrompt(kWaitingIcon, u"请在用户完成付款后，查询结果！", u"查询结果",
                                 u"取消支付");
    } else if (code == RespCode::NoAnswer) {
        KeepPending(answer, code);
        ResendQuery();
    } else {
        m_state = PaymentState::Idle;
        m_followed.Close(JournalState::NotPaid);
        ShowNotice(u"交易失败了");
        Reset();
        AddLine(answer);
    }
}

void PaymentFlow::OnManualQueryAnswer(const TransactionResult& answer, const std::string& code) {
    m_manualQuery = false;
    if (code == RespCode::Success) {
        m_cancelAfterQuery = false;
        m_view.CloseWaitingPrompt();
        CompletePendingPayment(answer);
        return;
    }
    if (m_cancelAfterQuery) {
        m_cancelAfterQuery = false;
        ResendCancel();
        Reset();
        return;
    }
    m_state = PaymentState::WaitingForCustomer;
    AddLine(m_pending);
}

void PaymentFlow::OnAutomaticQueryAnswer(const TransactionResult& answer, const std::string& code) {
    if (CountAndCheckLimit(m_queryCount)) {
        EndWithNotice(u"支付失败，请联系客户经理确认交易状态");
        AddLine(m_pending);
    } else if (code == RespCode::Success) {
        CompletePendingPayment(answer);
    } else if (IsOpenOutcome(code)) {
        ResendQuery();
    } else {
        EndWithNotice(u"支付失败了");
        AddLine(m_pending);
    }
}

void PaymentFlow::OnCancelAnswer(TransactionResult& answer, const std::string& code) {
    answer.transAmt = m_pending.transAmt;
    if (CountAndCheckLimit(m_cancelCount)) {
        EndWithNotice(u"取消失败，如顾客反馈已付款，请联系客户经理处理");
        AddLine(answer);
    } else if (code == RespCode::Success || code == kCancelledAnyway) {
        m_state = PaymentState::Idle;
        m_followed.Close(JournalState::Cancelled);
        answer.respCode = RespCode::Success;
        AddLine(answer);
        Reset();
        m_amountText.clear();
        m_codeText.clear();
    } else {
        ResendCancel();
    }
}

void PaymentFlow::OnExchangeFailed(const TransactionResult& answer) {
    if (m_manualQuery) {
        // The prompt stays open for another try, or the cancel the operator asked for meanwhile.
        m_manualQuery = false;
        m_state = PaymentState::WaitingForCustomer;
        if (m_cancelAfterQuery) {
            m_cancelAfterQuery = false;
            ResendCancel();
            Reset();
        }
        return;
    }
    const bool cancel = answer.txnType == TxnCode::Cancel;
    if (CountAndCheckLimit(m_failureCount)) {
        EndWithNotice(u"处理失败，请联系客户经理确认交易状态");
        AddFailureLine();
        return;
    }
    if (m_services.exchanges.Gateway().RequestSent()) {
        // No answer, or one that could not be read: the gateway may have acted on the request.
        if (cancel) {
            ResendCancel();
        } else {
            if (m_pending.orderNum.empty()) AdoptOwnPurchase();
            ResendQuery();
        }
        return;
    }
    m_state = PaymentState::Idle;
    if (cancel) {
        ShowNotice(u"取消失败了");
    } else {
        AskRetryOrCash();
    }
    Reset();
    AddLine(answer);
}

void PaymentFlow::CompletePendingPayment(const TransactionResult& queryAnswer) {
    LogAmountDisagreement(queryAnswer);
    // A purchase that never answered has no channel yet; the query that found it paid knows it.
    if (m_pending.channelCode.empty() || m_pending.channelCode == kOpenChannelCode) {
        m_pending.channelCode = queryAnswer.channelCode;
    }
    if (m_pending.acctNum.empty()) m_pending.acctNum = queryAnswer.acctNum;
    if (m_pending.channelOrderNum.empty()) m_pending.channelOrderNum = queryAnswer.channelOrderNum;
    m_pending.respCode = RespCode::Success;
    m_state = PaymentState::Idle;
    AddLine(m_pending);
    Record(m_pending);
    m_amountText.clear();
    m_codeText.clear();
    Reset();
    Print();
}

void PaymentFlow::KeepPending(const TransactionResult& answer, const std::string& code) {
    m_pending = answer;
    m_pending.respCode = code;
}

void PaymentFlow::AdoptOwnPurchase() {
    // The purchase itself went unanswered: follow it up by its own order number and amount.
    m_pending = TransactionResult{};
    m_pending.txnType = TxnCode::Purchase;
    m_pending.orderNum = LastPurchaseOrderNumber();
    m_pending.amountText = m_sentAmountText;
    m_pending.transAmt = SentAmount();
}

double PaymentFlow::SentAmount() const {
    return std::strtod(m_sentAmountText.c_str(), nullptr);
}

void PaymentFlow::HoldSentAmount(TransactionResult& answer) const {
    // The boxes stay editable while a purchase is open; only what was sent may follow it up.
    LogAmountDisagreement(answer);
    answer.amountText = m_sentAmountText;
    answer.transAmt = SentAmount();
}

void PaymentFlow::LogAmountDisagreement(const TransactionResult& answer) const {
    if (std::fabs(answer.transAmt - SentAmount()) < kSameAmount) return;
    char text[96];
    std::snprintf(text, sizeof text, "answer amount %.2f differs from the sent amount %.2f",
                  answer.transAmt, SentAmount());
    WriteLogEvent(m_services.exchanges.Gateway().Record(), kAmountMismatchLocation, 0, text);
}

void PaymentFlow::ResendQuery() {
    ClearRequest(m_request);
    BuildQuery(TxnCode::Purchase, m_pending.orderNum, m_pending.amountText, m_request);
    m_state = StartExchange() ? PaymentState::AutomaticQuery : PaymentState::Idle;
}

void PaymentFlow::ResendCancel() {
    ClearRequest(m_request);
    BuildCancel(m_pending.amountText, m_pending.orderNum, m_request);
    m_state = StartExchange() ? PaymentState::Cancelling : PaymentState::Idle;
}

void PaymentFlow::Reset() {
    m_view.SetCodeBoxText(u"");
    m_view.SetAmountBoxText(u"");
    m_view.SetAmountDisplay(u"");
    m_view.FocusAmountBox();
}

void PaymentFlow::EndWithNotice(const std::u16string& text) {
    m_state = PaymentState::Idle;
    ShowNotice(text);
    Reset();
}

void PaymentFlow::AskRetryOrCash() {
    // Either answer only closes the dialog: the operator decides at the counter.
    m_view.ShowConfirm(kNoticeIcon, u"支付失败了", u"再试一次", u"现金支付");
}

void PaymentFlow::AddLine(const TransactionResult& result) {
    m_log.Add(ComposeLogLine(result, CurrentClock().Now()));
    m_view.ShowPaymentLog(m_log.Lines());
}

void PaymentFlow::AddFailureLine() {
    m_log.Add(ComposeFailureLine(LastPurchaseOrderNumber(), GbkToUtf16(m_sentAmountText),
                                 CurrentClock().Now()));
    m_view.ShowPaymentLog(m_log.Lines());
}

void PaymentFlow::Record(const TransactionResult& result) {
    if (!m_followed.RecordPayment(result, CurrentClock().Now())) ShowNotice(kTransLogFailedText);
}

void PaymentFlow::Print() {
    if (PrintsSlipAfterTransaction(m_services.config) && m_services.startPrintJob) {
        m_services.startPrintJob();
    }
}

void PaymentFlow::ShowNotice(std::u16string_view text) {
    m_view.ShowNotice(kNoticeIcon, std::u16string(text), std::u16string(kUnderstoodButton));
}

}  // namespace zelvo
