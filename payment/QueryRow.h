#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

// One row of the transaction grid, built from one TBL_TRANS_LOG row. Cells are shown left to
// right as declared; the last column always reads "打印" and reprints the row.
struct QueryRow {
    std::u16string dateTime;    // REC_CREATE_TIME as stored
    std::u16string status;      // StatusText of PROCESS_FLAG and REV_FLAG
    std::u16string operatorId;  // OPER_ID
    std::u16string orderNum;    // ORDER_NUM
    std::u16string amount;      // TRANS_AMT with two decimals (StoredAmountText)
    std::u16string channel;     // ChannelDisplayName of ACCEPT_INS_CODE
    std::u16string respCode;    // RESP_CODE
    // Read with the row but not shown.
    std::string transCode;
    std::string origOrderNum;
};

inline constexpr char16_t kReprintCellText[] = u"打印";

struct GridColumn {
    std::u16string_view header;
    int width;  // pixels
};
inline constexpr GridColumn kQueryGridColumns[] = {
    {u"日期时间", 140}, {u"交易状态", 60}, {u"操作员", 60}, {u"商家订单号", 140},
    {u"金额", 80},      {u"交易渠道", 60}, {u"应答码", 40}, {u"重打印", 40},
};

inline constexpr char16_t kStatusCancelled[] = u"已撤销";
inline constexpr char16_t kStatusRefunded[] = u"已退款";
inline constexpr char16_t kStatusPaid[] = u"付款成功";
inline constexpr char16_t kStatusInProgress[] = u"处理中...";
inline constexpr char16_t kStatusFailed[] = u"付款失败";

// A stored amount with two decimals, whatever the column's affinity made of it ("12" and "12.3"
// read back from a NUMERIC column); a text that is not a number is shown as stored.
std::u16string StoredAmountText(std::string_view stored);

// The status cell: flags compared as text, ignoring letter case.
std::u16string StatusText(std::string_view processFlag, std::string_view revFlag);

struct RgbColour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
    bool operator==(const RgbColour&) const = default;
};

// Failed rows are red, refunded and unresolved ones dark red; none: the grid's own colour.
std::optional<RgbColour> RowTextColour(const QueryRow& row);

// Columns of a log row in the order the list reads them: REC_CREATE_TIME, PROCESS_FLAG,
// OPER_ID, ORDER_NUM, TRANS_AMT, ACCEPT_INS_CODE, TRANS_CODE, RESP_CODE, REV_FLAG and, when
// present, ORIG_ORDER_NUM. Values are 8-bit as stored and bounded here.
QueryRow QueryRowFromColumns(const std::vector<std::string>& columns);

}  // namespace zelvo
