#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace zelvo {

class CLocalDb;

// One channel's counted rows. Amounts are kept in fen so that a shift of many rows adds up
// exactly; refund amounts are zero or negative, as the refund rows store them.
struct ChannelTotals {
    std::int32_t purchaseCount = 0;
    std::int32_t refundCount = 0;
    std::int64_t purchaseFen = 0;
    std::int64_t refundFen = 0;
    bool operator==(const ChannelTotals&) const = default;
};

// By channel code, compared byte-wise. Every code met has an entry, counted or not.
using SettlementTotals = std::map<std::string, ChannelTotals>;

// Sums the operator's successful, unsettled rows: REV_FLAG "0" counts as a purchase, "3" as a
// refund, any other value only makes its channel's entry. False when the statement fails.
bool SumUnsettledRows(CLocalDb& db, const std::string& operatorId, SettlementTotals& totals);

// Marks every row of the operator settled, whatever its outcome.
bool MarkOperatorSettled(CLocalDb& db, const std::string& operatorId);

// "%.2f" of an amount in fen: 1250 gives "12.50", -500 gives "-5.00".
std::string FormatFen(std::int64_t fen);

}  // namespace zelvo
