#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "payment/OrderJournal.h"
#include "payment/RequestBuilders.h"

namespace zelvo {

class CLocalDb;
class ExchangeRunner;
struct TransactionResult;

// What one round did with one open order.
enum class ReconcileAction {
    Recorded,   // paid (or refunded): its log row was written and the journal row closed
    Cancelled,  // not paid and still open at the gateway: cancelled
    Closed,     // not paid and closed at the gateway
    LeftOpen,   // no clear answer: the next round tries again
    Skipped,    // a flow (of this process or of another that runs) follows it, or it was
                // recorded meanwhile
};

struct ReconcileItem {
    JournalEntry entry;
    ReconcileAction action = ReconcileAction::LeftOpen;
    std::string respCode;  // the last answer's, empty when none came
    double amount = 0.0;   // recorded amount, as the row holds it (positive)
};

struct ReconcileServices {
    // The one exchange at a time: a round waits for a gap between the flows' exchanges.
    ExchangeRunner& exchanges;
    // Orders a flow still follows are left to it; none: every open row is taken.
    const OrderJournal* journal = nullptr;
    // True when the round should end early (the program is closing).
    std::function<bool()> stopping;
    // Right after an order's row was written, while the round still holds the exchange slot,
    // so that the slip the library wrote for its answer is still the one in SCprint.txt.
    std::function<void(const ReconcileItem& item)> recorded;
};

// Finishes what the journal holds open: each open order is queried; a paid one gets the row
// its flow would have written (one row, whatever is repeated), one still open at the gateway is
// cancelled, one the gateway has closed is closed here too. Runs on the caller's thread, which
// is not the user-interface thread; each order is handled there too, in a gap of the flows, with
// the exchange slot held from its query to its last answer.
class Reconciler {
public:
    explicit Reconciler(ReconcileServices services) : m_services(std::move(services)) {}

    std::vector<ReconcileItem> RunRound(CLocalDb& db);

private:
    using RecordFunction = JournalWrite (*)(CLocalDb&, const TransactionResult&,
                                            const std::string&, const LocalTime&);
    // Asks the gateway what became of the order; false when no answer came.
    bool QueryOrder(std::string_view txnType, ReconcileItem& item, TransactionResult& answer);
    // Writes a confirmed order's row as its flow would have, once.
    void RecordConfirmed(CLocalDb& db, ReconcileItem& item, const TransactionResult& answer,
                         RecordFunction record);
    void ReconcilePurchase(CLocalDb& db, ReconcileItem& item);
    void ReconcileRefund(CLocalDb& db, ReconcileItem& item);
    void CancelPurchase(CLocalDb& db, ReconcileItem& item);
    // Waits for a gap and takes the exchange slot; false when the round is ending.
    bool HoldExchangeSlot();
    // One exchange with the operator who sent the order named on the slip; false when it
    // failed.
    bool Exchange(const JournalEntry& entry, TransactionResult& answer);
    bool Stopping() const { return m_services.stopping && m_services.stopping(); }

    ReconcileServices m_services;
    RequestBuffer m_request{};
};

// The banner text of an order found paid or refunded.
std::u16string RecoveredOrderText(const ReconcileItem& item);

}  // namespace zelvo
