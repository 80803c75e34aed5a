#include "payment/FollowedOrder.h"

#include "payment/FlowServices.h"
#include "payment/OrderJournal.h"
#include "payment/TransactionLog.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

CLocalDb* Database(const FlowServices& services) {
    return services.database ? services.database() : nullptr;
}

}  // namespace

std::string FollowedOrder::OperatorId() const {
    return m_services.operatorId ? m_services.operatorId() : std::string();
}

bool FollowedOrder::Open(const JournalEntry& entry) {
    Release();
    if (m_services.journal && !m_services.journal->Open(Database(m_services), entry)) {
        return false;
    }
    m_orderNum = entry.orderNum;
    return true;
}

bool FollowedOrder::RecordPayment(const TransactionResult& result, const LocalTime& now) {
    CLocalDb* db = Database(m_services);
    if (!m_services.journal) {
        return db && AppendTransactionLogAt(*db, result, kTransLogTable, OperatorId(), now);
    }
    return m_services.journal->RecordPayment(db, result, OperatorId(), now) != JournalWrite::Failed;
}

bool FollowedOrder::RecordRefund(const TransactionResult& result, const LocalTime& now) {
    CLocalDb* db = Database(m_services);
    if (!m_services.journal) {
        return db && AppendRefundLogAt(*db, result, kTransLogTable, OperatorId(), now);
    }
    return m_services.journal->RecordRefund(db, result, OperatorId(), now) != JournalWrite::Failed;
}

void FollowedOrder::Close(std::string_view state) {
    if (m_services.journal && !m_orderNum.empty()) {
        m_services.journal->Close(Database(m_services), m_orderNum, state);
    }
}

void FollowedOrder::Release() {
    if (m_services.journal && !m_orderNum.empty()) {
        m_services.journal->Release(Database(m_services), m_orderNum);
    }
    m_orderNum.clear();
}

}  // namespace zelvo
