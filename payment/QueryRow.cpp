#include "payment/QueryRow.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/CodePage.h"
#include "base/Text.h"
#include "payment/ChannelNames.h"

namespace zelvo {
namespace {

// No stored value of a log row is longer; a longer one is cut rather than drawn across the grid.
constexpr size_t kCellCapacity = 128;
// Beyond any amount a till takes; such a value is shown as stored rather than in full digits.
constexpr double kLargestAmount = 1e12;

enum Column : size_t {
    kDateTime,
    kProcessFlag,
    kOperatorId,
    kOrderNum,
    kAmount,
    kChannelCode,
    kTransCode,
    kRespCode,
    kRevFlag,
    kOrigOrderNum,
};

bool FlagIs(std::string_view flag, std::string_view expected) {
    if (flag.size() != expected.size()) return false;
    for (size_t i = 0; i < flag.size(); ++i) {
        const char c = (flag[i] >= 'A' && flag[i] <= 'Z') ? flag[i] - 'A' + 'a' : flag[i];
        if (c != expected[i]) return false;
    }
    return true;
}

std::string ColumnText(const std::vector<std::string>& columns, Column column) {
    return column < columns.size() ? Bounded(columns[column], kCellCapacity) : std::string();
}

std::u16string CellText(const std::vector<std::string>& columns, Column column) {
    return GbkToUtf16(ColumnText(columns, column));
}

}  // namespace

std::u16string StoredAmountText(std::string_view stored) {
    const std::string text = Bounded(stored, kCellCapacity);
    // Whatever is not plainly a number is shown as it was stored.
    if (text.empty() || text.find_first_not_of("0123456789.+-eE") != std::string::npos) {
        return GbkToUtf16(text);
    }
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !(std::fabs(value) < kLargestAmount)) {
        return GbkToUtf16(text);
    }
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "%.2f", value);
    return GbkToUtf16(Bounded(formatted, kCellCapacity));
}

std::u16string StatusText(std::string_view processFlag, std::string_view revFlag) {
    if (FlagIs(processFlag, "0")) {
        if (FlagIs(revFlag, "2")) return kStatusCancelled;
        if (FlagIs(revFlag, "3")) return kStatusRefunded;
        if (FlagIs(revFlag, "0")) return kStatusPaid;
        return GbkToUtf16(processFlag);
    }
    if (FlagIs(processFlag, "5")) return kStatusInProgress;
    return kStatusFailed;
}

std::optional<RgbColour> RowTextColour(const QueryRow& row) {
    if (row.status == kStatusFailed) return RgbColour{255, 0, 0};
    if (row.status == kStatusRefunded || row.status == kStatusInProgress) {
        return RgbColour{120, 0, 0};
    }
    return std::nullopt;
}

QueryRow QueryRowFromColumns(const std::vector<std::string>& columns) {
    QueryRow row;
    row.dateTime = CellText(columns, kDateTime);
    row.status = StatusText(ColumnText(columns, kProcessFlag), ColumnText(columns, kRevFlag));
    row.operatorId = CellText(columns, kOperatorId);
    row.orderNum = CellText(columns, kOrderNum);
    row.amount = StoredAmountText(ColumnText(columns, kAmount));
    row.channel = ChannelDisplayName(ColumnText(columns, kChannelCode));
    row.respCode = CellText(columns, kRespCode);
    row.transCode = ColumnText(columns, kTransCode);
    row.origOrderNum = ColumnText(columns, kOrigOrderNum);
    return row;
}

}  // namespace zelvo
