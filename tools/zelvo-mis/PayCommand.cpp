#include "tools/zelvo-mis/PayCommand.h"

#include <cstdio>
#include <ostream>
#include <thread>

#include "config/MisCilHolder.h"
#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "MISCIL/MisCil.h"
#include "payment/ExchangeRunner.h"
#include "payment/GatewayExchange.h"
#include "payment/OrderJournal.h"
#include "payment/OrderNumber.h"
#include "payment/PaymentFlow.h"
#include "payment/Reconciler.h"
#include "store/LocalDb.h"
#include "tools/zelvo-mis/HeadlessPayment.h"

namespace zelvo {
namespace {

// A completion comes within the waiting time; this only keeps the loop from spinning.
constexpr std::chrono::milliseconds kCompletionWait{1000};

const char* ActionName(ReconcileAction action) {
    switch (action) {
        case ReconcileAction::Recorded:
            return "recorded";
        case ReconcileAction::Cancelled:
            return "cancelled";
        case ReconcileAction::Closed:
            return "closed";
        case ReconcileAction::LeftOpen:
            return "open";
        case ReconcileAction::Skipped:
            return "skipped";
    }
    return "?";
}

// Drives the flow as an operator at the waiting prompt would: asks again every interval until
// the waiting time has passed since the customer was first found paying, then cancels.
void DriveToTheEnd(PaymentFlow& flow, const HeadlessPaymentView& view, ExchangeRunner& runner,
                   WorkQueue& queue, const PayOptions& options) {
    const auto waitTime = std::chrono::seconds(LoadedMisCilSettings().waitTime);
    for (;;) {
        if (runner.IsRunning()) {
            queue.RunOne(kCompletionWait);
            continue;
        }
        if (flow.State() != PaymentState::WaitingForCustomer) return;
        const auto since = view.WaitingSince().value_or(std::chrono::steady_clock::now());
        if (std::chrono::steady_clock::now() - since >= waitTime) {
            flow.CancelWaiting();
        } else {
            std::this_thread::sleep_for(options.queryInterval);
            flow.QueryNow();
        }
    }
}

}  // namespace

int RunMisPay(const PayOptions& options, std::ostream& out, std::ostream& err) {
    MisCilHolder holder;
    MisCilSetOperatorId(options.operatorId);
    CLocalDb* db = GetLocalDb();
    if (!db) {
        err << "cannot open MISData.db\n";
        out << "not paid\n";
        return PayOutcome::NotPaid;
    }
    MisCilGateway gateway;
    WorkQueue queue;
    ExchangeRunner runner(gateway, queue.Poster());
    OrderJournal journal;
    FlowServices services{runner, [] { return GetLocalDb(); },
                          [id = options.operatorId] { return id; }, nullptr, GetTerminalConfig()};
    services.journal = &journal;
    HeadlessPaymentView view(
        Utf8ToUtf16(options.amount), Utf8ToUtf16(options.code),
        [&err](const std::u16string& text) { err << Utf16ToUtf8(text) << '\n'; });
    PaymentFlow flow(view, services);

    LastPurchaseOrderNumber().clear();
    flow.ConfirmPayment();
    DriveToTheEnd(flow, view, runner, queue, options);

    // The journal row says how the order ended; one still open is an outcome nobody knows.
    const std::string order = LastPurchaseOrderNumber();
    const std::string state = order.empty() ? std::string() : JournalStateOf(*db, order);
    if (state == JournalState::Paid) {
        out << "paid " << order << '\n';
        return PayOutcome::Paid;
    }
    if (state == JournalState::Open) {
        out << "unknown " << order << '\n';
        return PayOutcome::Unknown;
    }
    out << "not paid" << (state.empty() ? "" : " " + order) << '\n';
    return PayOutcome::NotPaid;
}

int RunMisReconcile(std::ostream& out, std::ostream& err) {
    MisCilHolder holder;
    CLocalDb* db = GetLocalDb();
    if (!db) {
        err << "cannot open MISData.db\n";
        return 1;
    }
    MisCilGateway gateway;
    ExchangeRunner runner(gateway, [](std::function<void()>) {});
    Reconciler reconciler({runner, nullptr, nullptr});
    int open = 0;
    for (const ReconcileItem& item : reconciler.RunRound(*db)) {
        // A skipped order is still open: another process follows it.
        if (item.action == ReconcileAction::LeftOpen || item.action == ReconcileAction::Skipped) {
            ++open;
        }
        out << ActionName(item.action) << ' ' << item.entry.txnType << ' ' << item.entry.orderNum
            << ' ' << item.entry.amountText << ' ' << (item.respCode.empty() ? "-" : item.respCode)
            << '\n';
    }
    out << open << " open\n";
    return open == 0 ? 0 : 2;
}

}  // namespace zelvo
