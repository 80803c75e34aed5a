#include "payment/TransactionLog.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/Text.h"
#include "MISCIL/TxnCodes.h"
#include "payment/TransactionResult.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

enum class RowKind { Payment, Refund };

bool IsPlainIdentifier(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name) {
        bool ok =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok) return false;
    }
    return true;
}

std::string ProcessFlag(const std::string& respCode, RowKind kind) {
    if (respCode == RespCode::Success) return "0";
    if (respCode == RespCode::InProgress || respCode == RespCode::NoAnswer) return "5";
    return kind == RowKind::Payment ? "1" : "";
}

// The amount as "%.2f" text would store it: rounded to the fen, negative for a refund.
double StoredAmount(double amount, RowKind kind) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", amount);
    double rounded = std::strtod(TrimWhitespace(text).c_str(), nullptr);
    return kind == RowKind::Refund ? -rounded : rounded;
}

std::string StoredChannel(const std::string& channelCode, RowKind kind) {
    if (kind == RowKind::Refund && channelCode == kOpenChannelCode) return "   ";
    return channelCode;
}

bool AppendRow(CLocalDb& db, const TransactionResult& result, const std::string& tableName,
               const std::string& operatorId, const LocalTime& now, RowKind kind) {
    // The table name cannot be bound; only a plain name reaches the statement.
    if (!IsPlainIdentifier(tableName)) return false;
    std::string sql = "insert into " + tableName +
                      "(REC_CREATE_TIME, TRANS_CODE, PROCESS_FLAG, REV_FLAG, ORIG_ORDER_NUM, "
                      "ORDER_NUM, OPER_ID, TRANS_AMT, ACCEPT_INS_CODE, RESP_CODE, SYS_DATE, "
                      "ACCT_ID, SA_SAV1) values(?,?,?,?,?,?,?,?,?,?,?,?,?)";
    std::vector<SqlValue> values{
        FormatLocalTime(now, "%Y-%m-%d %H:%M:%S"),
        result.txnType,
        ProcessFlag(result.respCode, kind),
        std::string(kind == RowKind::Payment ? "0" : "3"),
        result.origOrderNum,
        result.orderNum,
        operatorId,
        StoredAmount(result.transAmt, kind),
        StoredChannel(result.channelCode, kind),
        result.respCode,
        FormatLocalTime(now, "%Y%m%d"),
        result.acctNum,
        result.channelOrderNum,
    };
    return db.Execute(sql, values);
}

}  // namespace

bool AppendTransactionLog(CLocalDb& db, const TransactionResult& result,
                          const std::string& tableName, const std::string& operatorId,
                          const Clock& clock) {
    return AppendRow(db, result, tableName, operatorId, clock.Now(), RowKind::Payment);
}

bool AppendRefundLog(CLocalDb& db, const TransactionResult& result, const std::string& tableName,
                     const std::string& operatorId, const Clock& clock) {
    return AppendRow(db, result, tableName, operatorId, clock.Now(), RowKind::Refund);
}

bool AppendTransactionLogAt(CLocalDb& db, const TransactionResult& result,
                            const std::string& tableName, const std::string& operatorId,
                            const LocalTime& now) {
    return AppendRow(db, result, tableName, operatorId, now, RowKind::Payment);
}

bool AppendRefundLogAt(CLocalDb& db, const TransactionResult& result, const std::string& tableName,
                       const std::string& operatorId, const LocalTime& now) {
    return AppendRow(db, result, tableName, operatorId, now, RowKind::Refund);
}

}  // namespace zelvo
