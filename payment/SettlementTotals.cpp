#include "payment/SettlementTotals.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/Text.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

// Channel codes are three letters; a longer stored value is cut to a sane key.
constexpr size_t kChannelCodeCapacity = 32;
// More than any till takes in a shift; a stored amount beyond it is not a real one.
constexpr double kFenLimit = 1e15;

// Grouped in the database: the operator's rows are counted without being carried over one by one.
// Each row's amount is rounded to fen before it is added.
constexpr char kSumSql[] =
    "select ACCEPT_INS_CODE, REV_FLAG, count(*), total(round(TRANS_AMT * 100)) "
    "from TBL_TRANS_LOG where PROCESS_FLAG = '0' and SETTLE_TYPE = '0' and OPER_ID = ? "
    "group by ACCEPT_INS_CODE, REV_FLAG";

// Rows already settled keep their mark; leaving them out spares rewriting a whole history.
constexpr char kMarkSql[] =
    "update TBL_TRANS_LOG set SETTLE_TYPE = '1' where OPER_ID = ? and SETTLE_TYPE is not '1'";

std::int32_t CountOf(const std::string& text) {
    const long long count = std::atoll(text.c_str());
    if (count < 0) return 0;
    return static_cast<std::int32_t>(
        std::min<long long>(count, std::numeric_limits<std::int32_t>::max()));
}

std::int64_t FenOf(const std::string& text) {
    const double fen = std::strtod(text.c_str(), nullptr);
    if (!std::isfinite(fen) || std::fabs(fen) > kFenLimit) return 0;
    return std::llround(fen);
}

std::int32_t AddCounts(std::int32_t a, std::int32_t b) {
    const long long sum = static_cast<long long>(a) + b;
    return static_cast<std::int32_t>(
        std::min<long long>(sum, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

bool SumUnsettledRows(CLocalDb& db, const std::string& operatorId, SettlementTotals& totals) {
    SqlRows result;
    if (!db.Query(kSumSql, {operatorId}, result)) return false;
    for (const auto& row : result.rows) {
        if (row.size() < 4) continue;
        ChannelTotals& entry = totals[Bounded(row[0], kChannelCodeCapacity)];
        const std::string& revFlag = row[1];
        if (revFlag == "0") {
            entry.purchaseCount = AddCounts(entry.purchaseCount, CountOf(row[2]));
            entry.purchaseFen += FenOf(row[3]);
        } else if (revFlag == "3") {
            entry.refundCount = AddCounts(entry.refundCount, CountOf(row[2]));
            entry.refundFen += FenOf(row[3]);
        }
    }
    return true;
}

bool MarkOperatorSettled(CLocalDb& db, const std::string& operatorId) {
    return db.Execute(kMarkSql, {operatorId});
}

std::string FormatFen(std::int64_t fen) {
    const bool negative = fen < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(fen)
                                                  : static_cast<unsigned long long>(fen);
    char text[32];
    std::snprintf(text, sizeof text, "%s%llu.%02llu", negative ? "-" : "", magnitude / 100,
                  magnitude % 100);
    return text;
}

}  // namespace zelvo
