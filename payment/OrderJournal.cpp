#include "payment/OrderJournal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "payment/TransactionLog.h"
#include "payment/TransactionResult.h"
#include "platform/ProcessLiveness.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

constexpr const char* kTimeFormat = "%Y-%m-%d %H:%M:%S";
constexpr std::int64_t kFollowedElsewhereSeconds = 20 * 60;

// BEGIN IMMEDIATE takes the write lock at once, so that two connections deciding whether an
// order is still open cannot both decide yes.
class WriteTransaction {
public:
    explicit WriteTransaction(CLocalDb& db) : m_db(db), m_begun(db.Execute("begin immediate")) {}
    ~WriteTransaction() {
        if (m_begun && !m_committed) m_db.Execute("rollback");
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    bool Begun() const { return m_begun; }
    bool Commit() {
        m_committed = m_db.Execute("commit");
        return m_committed;
    }

private:
    CLocalDb& m_db;
    bool m_begun;
    bool m_committed = false;
};

enum class Claim { Claimed, AlreadyClosed, Failed };

// Closes the order's row with `state` unless it was recorded already; an order without a row
// gets a closed one, so that a repeat finds it recorded. A row closed as not paid or cancelled
// is taken too: a confirmed payment outweighs an earlier answer, and money must not go
// unrecorded.
Claim ClaimForRecord(CLocalDb& db, const TransactionResult& result, std::string_view state,
                     const LocalTime& now) {
    const std::string closed = FormatLocalTime(now, kTimeFormat);
    if (!db.Execute("update TBL_ORDER_JOURNAL set STATE = ?, CLOSED_TIME = ? "
                    "where ORDER_NUM = ? and STATE not in (?, ?)",
                    {std::string(state), closed, result.orderNum, std::string(JournalState::Paid),
                     std::string(JournalState::Refunded)})) {
        return Claim::Failed;
    }
    if (db.ChangedRows() == 1) return Claim::Claimed;
    SqlRows rows;
    if (!db.Query("select STATE from TBL_ORDER_JOURNAL where ORDER_NUM = ?", {result.orderNum},
                  rows)) {
        return Claim::Failed;
    }
    if (!rows.rows.empty()) return Claim::AlreadyClosed;
    char amount[32];
    std::snprintf(amount, sizeof amount, "%.2f", result.transAmt);
    return db.Execute(
               "insert into TBL_ORDER_JOURNAL(ORDER_NUM, TRANS_CODE, TRANS_AMT_TEXT, "
               "ORIG_ORDER_NUM, SENT_TIME, SYS_DATE, STATE, CLOSED_TIME) "
               "values(?,?,?,?,?,?,?,?)",
               {result.orderNum, result.txnType, std::string(amount), result.origOrderNum, closed,
                FormatLocalTime(now, "%Y%m%d"), std::string(state), closed})
               ? Claim::Claimed
               : Claim::Failed;
}

using AppendFunction = bool (*)(CLocalDb&, const TransactionResult&, const std::string&,
                                const std::string&, const LocalTime&);

JournalWrite RecordWithRow(CLocalDb& db, const TransactionResult& result,
                           const std::string& operatorId, const LocalTime& now,
                           std::string_view state, AppendFunction append) {
    WriteTransaction transaction(db);
    if (!transaction.Begun()) return JournalWrite::Failed;
    switch (ClaimForRecord(db, result, state, now)) {
        case Claim::AlreadyClosed:
            return JournalWrite::AlreadyClosed;
        case Claim::Failed:
            return JournalWrite::Failed;
        case Claim::Claimed:
            break;
    }
    if (!append(db, result, kTransLogTable, operatorId, now)) return JournalWrite::Failed;
    return transaction.Commit() ? JournalWrite::Written : JournalWrite::Failed;
}

}  // namespace

bool JournalInsert(CLocalDb& db, const JournalEntry& entry) {
    // SYS_DATE follows SENT_TIME, for the start-up pruning of closed rows.
    std::string sysDate = entry.sentTime.size() >= 10
                              ? entry.sentTime.substr(0, 4) + entry.sentTime.substr(5, 2) +
                                    entry.sentTime.substr(8, 2)
                              : std::string();
    return db.Execute(
        "insert into TBL_ORDER_JOURNAL(ORDER_NUM, TRANS_CODE, TRANS_AMT_TEXT, "
        "PAY_CODE, ORIG_ORDER_NUM, OPER_ID, SENT_TIME, SYS_DATE, STATE, OWNER_PID) "
        "values(?,?,?,?,?,?,?,?,?,?)",
        {entry.orderNum, entry.txnType, entry.amountText, entry.payCode, entry.origOrderNum,
         entry.operatorId, entry.sentTime, sysDate, std::string(JournalState::Open),
         std::int64_t{entry.ownerPid}});
}

JournalWrite JournalRecordPayment(CLocalDb& db, const TransactionResult& result,
                                  const std::string& operatorId, const LocalTime& now) {
    return RecordWithRow(db, result, operatorId, now, JournalState::Paid, AppendTransactionLogAt);
}

JournalWrite JournalRecordRefund(CLocalDb& db, const TransactionResult& result,
                                 const std::string& operatorId, const LocalTime& now) {
    return RecordWithRow(db, result, operatorId, now, JournalState::Refunded, AppendRefundLogAt);
}

bool JournalClose(CLocalDb& db, const std::string& orderNum, std::string_view state) {
    return db.Execute(
        "update TBL_ORDER_JOURNAL set STATE = ?, CLOSED_TIME = ? "
        "where ORDER_NUM = ? and STATE = ?",
        {std::string(state), FormatLocalTime(CurrentClock().Now(), kTimeFormat), orderNum,
         std::string(JournalState::Open)});
}

std::vector<JournalEntry> OpenJournalEntries(CLocalDb& db) {
    SqlRows rows;
    if (!db.Query("select ORDER_NUM, TRANS_CODE, TRANS_AMT_TEXT, PAY_CODE, ORIG_ORDER_NUM, "
                  "OPER_ID, SENT_TIME, STATE, OWNER_PID from TBL_ORDER_JOURNAL where STATE = ? "
                  "order by SENT_TIME, ORDER_NUM",
                  {std::string(JournalState::Open)}, rows)) {
        return {};
    }
    // Each value cut to what its column was written with: the file may have been edited.
    constexpr size_t kWidths[] = {64, 4, 16, 32, 64, 16, 19, 10, 12};
    std::vector<JournalEntry> entries;
    for (auto row : rows.rows) {
        if (row.size() != std::size(kWidths)) continue;
        for (size_t i = 0; i < row.size(); ++i) row[i] = row[i].substr(0, kWidths[i]);
        entries.push_back({row[0], row[1], row[2], row[3], row[4], row[5], row[6], row[7],
                           std::strtol(row[8].c_str(), nullptr, 10)});
    }
    return entries;
}

std::string JournalStateOf(CLocalDb& db, const std::string& orderNum) {
    SqlRows rows;
    if (!db.Query("select STATE from TBL_ORDER_JOURNAL where ORDER_NUM = ?", {orderNum}, rows) ||
        rows.rows.empty()) {
        return {};
    }
    return rows.rows.front().at(0);
}

void OrderJournal::SetLeftOpenHandler(std::function<void()> handler) {
    std::lock_guard lock(m_mutex);
    m_leftOpen = std::move(handler);
}

bool OrderJournal::Open(CLocalDb* db, const JournalEntry& entry) {
    // Followed before the row exists, so that no reconciliation ever sees it open and unowned.
    {
        std::lock_guard lock(m_mutex);
        m_followed.insert(entry.orderNum);
    }
    if (db && JournalInsert(*db, entry)) return true;
    std::lock_guard lock(m_mutex);
    m_followed.erase(entry.orderNum);
    return false;
}

JournalWrite OrderJournal::RecordPayment(CLocalDb* db, const TransactionResult& result,
                                         const std::string& operatorId, const LocalTime& now) {
    return db ? JournalRecordPayment(*db, result, operatorId, now) : JournalWrite::Failed;
}

JournalWrite OrderJournal::RecordRefund(CLocalDb* db, const TransactionResult& result,
                                        const std::string& operatorId, const LocalTime& now) {
    return db ? JournalRecordRefund(*db, result, operatorId, now) : JournalWrite::Failed;
}

void OrderJournal::Close(CLocalDb* db, const std::string& orderNum, std::string_view state) {
    if (db) JournalClose(*db, orderNum, state);
}

void OrderJournal::Release(CLocalDb* db, const std::string& orderNum) {
    std::function<void()> leftOpen;
    {
        std::lock_guard lock(m_mutex);
        if (m_followed.erase(orderNum) == 0) return;
        leftOpen = m_leftOpen;
    }
    if (leftOpen && db && JournalStateOf(*db, orderNum) == JournalState::Open) leftOpen();
}

bool OrderJournal::IsFollowed(const std::string& orderNum) const {
    std::lock_guard lock(m_mutex);
    return m_followed.count(orderNum) != 0;
}

JournalEntry NewJournalEntry(std::string_view txnType, const std::string& orderNum,
                             const std::string& amountText, const std::string& operatorId,
                             const LocalTime& now) {
    JournalEntry entry;
    entry.orderNum = orderNum;
    entry.txnType = std::string(txnType);
    entry.amountText = amountText;
    entry.operatorId = operatorId;
    entry.sentTime = FormatLocalTime(now, kTimeFormat);
    entry.state = std::string(JournalState::Open);
    entry.ownerPid = CurrentProcessId();
    return entry;
}

bool FollowedElsewhere(const JournalEntry& entry, const LocalTime& now) {
    if (entry.ownerPid == 0 || entry.ownerPid == CurrentProcessId() ||
        !ProcessIsRunning(entry.ownerPid)) {
        return false;
    }
    // Longer than any payment is followed (ten waiting times of at most 100 s): a number that
    // still runs after that belongs to another program, or to a sender that gave up on it.
    LocalTime sent;
    if (std::sscanf(entry.sentTime.c_str(), "%4d-%2d-%2d %2d:%2d:%2d", &sent.year, &sent.month,
                    &sent.day, &sent.hour, &sent.minute, &sent.second) != 6) {
        return false;
    }
    const std::int64_t age = CalendarSeconds(now) - CalendarSeconds(sent);
    return age >= 0 && age < kFollowedElsewhereSeconds;
}

}  // namespace zelvo
