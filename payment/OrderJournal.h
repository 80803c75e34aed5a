#pragma once

#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/Clock.h"

namespace zelvo {

class CLocalDb;
struct TransactionResult;

inline constexpr const char* kJournalTable = "TBL_ORDER_JOURNAL";

// How a journal row stands. Only "open" rows are followed up by the reconciliation.
namespace JournalState {
inline constexpr std::string_view Open = "open";
inline constexpr std::string_view Paid = "paid";          // a payment row was written with it
inline constexpr std::string_view Refunded = "refunded";  // a refund row was written with it
inline constexpr std::string_view NotPaid = "notpaid";    // a final answer: refused, not found
inline constexpr std::string_view Cancelled = "cancelled";
}  // namespace JournalState

// One purchase or refund as it was sent.
struct JournalEntry {
    std::string orderNum;
    std::string txnType;       // "PURC" or "REFD"
    std::string amountText;    // as sent, 8-bit
    std::string payCode;       // purchase: the payment code, masked
    std::string origOrderNum;  // refund: the refunded purchase
    std::string operatorId;
    std::string sentTime;  // "%Y-%m-%d %H:%M:%S"
    std::string state;
    long ownerPid = 0;  // the process that sent it and may still be following it; 0 unknown
};

enum class JournalWrite {
    Written,        // the log row was written and the journal row closed, together
    AlreadyClosed,  // someone closed the row first: nothing written, the order is accounted for
    Failed,         // nothing written
};

// The journal rows, on whatever connection the caller uses; each call is one transaction.
bool JournalInsert(CLocalDb& db, const JournalEntry& entry);
// The payment row (or refund row) of a confirmed order, written only if its journal row does
// not say it was recorded already, and the journal row closed in the same transaction. An order with no journal row
// (sent before the journal existed) is written as before.
JournalWrite JournalRecordPayment(CLocalDb& db, const TransactionResult& result,
                                  const std::string& operatorId, const LocalTime& now);
JournalWrite JournalRecordRefund(CLocalDb& db, const TransactionResult& result,
                                 const std::string& operatorId, const LocalTime& now);
// Closes an open row with a final state that writes no log row.
bool JournalClose(CLocalDb& db, const std::string& orderNum, std::string_view state);
// Open rows, oldest first; none when they cannot be read.
std::vector<JournalEntry> OpenJournalEntries(CLocalDb& db);
// The state of one order's row; empty when there is none.
std::string JournalStateOf(CLocalDb& db, const std::string& orderNum);
// True while another process that sent the order runs and the order is recent enough for it
// to be still following it: a reconciliation leaves such an order alone.
bool FollowedElsewhere(const JournalEntry& entry, const LocalTime& now);

// The flows' side of the journal: rows are written before each send and closed with the
// outcome, and the orders a flow still follows are known here, so that the reconciliation
// leaves them alone. Thread-safe.
class OrderJournal {
public:
    // Called (on the flow's thread) when a flow stops following an order still open.
    void SetLeftOpenHandler(std::function<void()> handler);

    // Writes the row and marks the order as followed; false when it could not be written, and
    // then the request must not leave.
    bool Open(CLocalDb* db, const JournalEntry& entry);
    JournalWrite RecordPayment(CLocalDb* db, const TransactionResult& result,
                               const std::string& operatorId, const LocalTime& now);
    JournalWrite RecordRefund(CLocalDb* db, const TransactionResult& result,
                              const std::string& operatorId, const LocalTime& now);
    void Close(CLocalDb* db, const std::string& orderNum, std::string_view state);
    // The flow is done with the order; if its row is still open, the reconciliation takes it.
    void Release(CLocalDb* db, const std::string& orderNum);

    bool IsFollowed(const std::string& orderNum) const;

private:
    mutable std::mutex m_mutex;
    std::set<std::string> m_followed;
    std::function<void()> m_leftOpen;
};

// A journal row for a request about to leave, stamped now and with this process.
JournalEntry NewJournalEntry(std::string_view txnType, const std::string& orderNum,
                             const std::string& amountText, const std::string& operatorId,
                             const LocalTime& now);

}  // namespace zelvo
