#pragma once

#include <filesystem>
#include <string>

#include "payment/SettlementTotals.h"

namespace zelvo {

// What the bill says besides the totals.
struct SettlementBillHeader {
    std::u16string merName;
    std::string merCode;
    std::string termCode;
    std::string operatorId;      // 8-bit as stored
    int lineWidth = 32;          // columns of the receipt font (LineWide)
    int trailingBlankLines = 1;  // SpacLine
};

// The bill, line by line with CR LF: title, merchant lines, the purchase and refund line of
// each channel in code order, and a summary line per channel.
std::u16string SettlementBillText(const SettlementTotals& totals,
                                  const SettlementBillHeader& header);

// Writes the bill into the print file; false when the file could not be written.
bool ComposeSettlementBill(const SettlementTotals& totals, const SettlementBillHeader& header,
                           const std::filesystem::path& file);

}  // namespace zelvo
