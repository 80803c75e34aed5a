#pragma once

#include <string>

#include "base/Clock.h"

namespace zelvo {

class CLocalDb;
struct TransactionResult;

inline constexpr const char* kTransLogTable = "TBL_TRANS_LOG";
inline constexpr std::u16string_view kTransLogFailedText =
    u"添加交易记录失败了，请联系客户经理，谢谢";

// Writes one row for a confirmed payment (positive amount, REV_FLAG "0") or a confirmed refund
// (negative amount, REV_FLAG "3", an open channel code stored as three spaces). Values are
// bound, so a quote in an answer cannot break the statement. False when the row was not written
// (the caller tells the operator and carries on: the money has moved all the same).
bool AppendTransactionLog(CLocalDb& db, const TransactionResult& result,
                          const std::string& tableName, const std::string& operatorId,
                          const Clock& clock = CurrentClock());
bool AppendRefundLog(CLocalDb& db, const TransactionResult& result, const std::string& tableName,
                     const std::string& operatorId, const Clock& clock = CurrentClock());
// The same rows stamped with a moment the caller also shows elsewhere.
bool AppendTransactionLogAt(CLocalDb& db, const TransactionResult& result,
                            const std::string& tableName, const std::string& operatorId,
                            const LocalTime& now);
bool AppendRefundLogAt(CLocalDb& db, const TransactionResult& result, const std::string& tableName,
                       const std::string& operatorId, const LocalTime& now);

}  // namespace zelvo
