#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "MISCIL/TransRecord.h"

namespace zelvo {

inline constexpr size_t kBitmapBytes = 8;
using Bitmap = std::array<std::uint8_t, kBitmapBytes>;

inline constexpr size_t kFieldCount = 24;
inline constexpr size_t kTxnBitmapCount = 14;

// Ties a record field to the gateway's key name; the index is the field's bit number.
struct FieldDef {
    int index;
    char key[19 + 1];
    size_t keyLength;
    RecordField field;
};

// Which fields a transaction carries in one direction ("Q" request, "A" answer).
struct TxnBitmapDef {
    int kind;  // always 2
    char direction;
    char txnCode[4 + 1];
    char hexBitmap[16 + 1];
    Bitmap bitmap;
};

// A position of the fixed-width request or response text.
struct MisLayoutEntry {
    int position;
    RecordField field;
    size_t width;
};

inline constexpr size_t kMisRequestFields = 11;
inline constexpr size_t kMisResponseFields = 13;

// Field index numbers used by name in the library and its callers.
namespace FieldIndex {
inline constexpr int Chcd = 5;
inline constexpr int Txamt = 7;
inline constexpr int GoodsInfo = 8;
inline constexpr int Sign = 17;
}  // namespace FieldIndex

// The fixed-width request text handed to the library. A request builder fills the first
// kMisRequestMinLength characters with spaces and writes each field left-aligned.
struct MisTextField {
    size_t offset;
    size_t width;
};
namespace MisRequestField {
inline constexpr MisTextField OrderNum{0, 64};
inline constexpr MisTextField OrigOrderNum{64, 64};
inline constexpr MisTextField TxnType{128, 4};
inline constexpr MisTextField OrigTxnType{132, 4};
inline constexpr MisTextField ChannelCode{136, 5};
inline constexpr MisTextField MisTransAmt{141, 12};
inline constexpr MisTextField ScanCode{153, 32};
inline constexpr MisTextField Reserved{185, 8};
inline constexpr MisTextField TerminalId{193, 8};
inline constexpr MisTextField GoodsInfo{201, 512};
inline constexpr MisTextField Currency{713, 3};
}  // namespace MisRequestField
inline constexpr size_t kMisRequestMinLength = 713;  // everything up to the end of goodsInfo
inline constexpr size_t kMisRequestLength = 716;     // with the currency

// The fixed-width answer text, followed by a zero.
namespace MisResponseField {
inline constexpr MisTextField OrderNum{0, 64};
inline constexpr MisTextField MisTransAmt{64, 12};
inline constexpr MisTextField RespCode{76, 2};
inline constexpr MisTextField ErrDetail{78, 512};
inline constexpr MisTextField ChannelOrderNum{590, 64};
inline constexpr MisTextField AcctNum{654, 100};
inline constexpr MisTextField AcctID{754, 16};
inline constexpr MisTextField ChannelDiscount{770, 60};
inline constexpr MisTextField QRCode{830, 60};
inline constexpr MisTextField Explain{890, 60};
inline constexpr MisTextField CardId{950, 40};
inline constexpr MisTextField CardInfo{990, 512};
inline constexpr MisTextField ChannelCode{1502, 5};
}  // namespace MisResponseField
inline constexpr size_t kMisResponseLength = 1507;

// Writes `value` left-aligned into its place of a space-filled text, cut to the field's width.
// `text` must hold at least field.offset + field.width characters.
void PutMisTextField(char* text, MisTextField field, std::string_view value);

struct MisCilContext;

// Fills the field table, the transaction table and the two layouts of the context.
void InitFieldTables(MisCilContext& context);

// Copies the bitmap of the first (kind, direction, code) entry into `result`; -1 when there is
// none (and `result` stays as it was).
int LookupTxnBitmap(const MisCilContext& context, int kind, char direction,
                    std::string_view txnCode, Bitmap& result);

// Bits 1..64 as in ISO 8583; out of range is logged and a test then answers "not set".
void SetBitmapBit(std::uint8_t* bitmap, int n);
bool TestBitmapBit(const std::uint8_t* bitmap, int n);

// `count` hexadecimal digits to count / 2 bytes; -1 at the first other character.
int HexToBytes(std::string_view text, size_t count, std::uint8_t* out);

// `value` as `width` decimal digits with leading zeros (a negative value takes a leading "-");
// -1 (logged) when the width is not positive or the value does not fit. `out` holds width + 1.
int NumToFixedWidth(long long value, char* out, int width);

}  // namespace zelvo
