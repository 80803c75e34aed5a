#pragma once

#include <string>
#include <string_view>

#include "base/Clock.h"

namespace zelvo {

struct FlowServices;
struct JournalEntry;
struct TransactionResult;

// The order a flow is following, as the journal knows it: opened before its request leaves,
// closed with its outcome, released when the flow stops following it. Without a journal in the
// services only the log rows are written, as before.
class FollowedOrder {
public:
    explicit FollowedOrder(const FlowServices& services) : m_services(services) {}

    // False when the journal row could not be written: the request must not leave.
    bool Open(const JournalEntry& entry);
    // The log row of a confirmed payment or refund, with the journal row closed in the same
    // transaction; true also when the order had been recorded already.
    bool RecordPayment(const TransactionResult& result, const LocalTime& now);
    bool RecordRefund(const TransactionResult& result, const LocalTime& now);
    // A final answer that writes no row.
    void Close(std::string_view state);
    // The flow has stopped following the order.
    void Release();

    const std::string& OrderNum() const { return m_orderNum; }
    std::string OperatorId() const;

private:
    const FlowServices& m_services;
    std::string m_orderNum;
};

}  // namespace zelvo
