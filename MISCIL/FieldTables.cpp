#include "MISCIL/FieldTables.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCilContext.h"

namespace zelvo {
namespace {

struct FieldRow {
    const char* key;
    RecordField field;
};

const FieldRow kFieldRows[kFieldCount] = {
    {"txndir", ZELVO_RECORD_FIELD(saTxndir)},
    {"busicd", ZELVO_RECORD_FIELD(saTxnType)},
    {"respcd", ZELVO_RECORD_FIELD(saRespCode)},
    {"inscd", ZELVO_RECORD_FIELD(saAcqInsCode)},
    {"chcd", ZELVO_RECORD_FIELD(saChannelCode)},
    {"mchntid", ZELVO_RECORD_FIELD(saMerCode)},
    {"txamt", ZELVO_RECORD_FIELD(saOigTransAmtNum)},
    {"goodsInfo", ZELVO_RECORD_FIELD(saGoodsInfo)},
    {"channelOrderNum", ZELVO_RECORD_FIELD(saChannelOrderNum)},
    {"consumerAccount", ZELVO_RECORD_FIELD(saAcctNum)},
    {"consumerId", ZELVO_RECORD_FIELD(saAcctID)},
    {"errorDetail", ZELVO_RECORD_FIELD(saErrDetail)},
    {"orderNum", ZELVO_RECORD_FIELD(saOrderNum)},
    {"origOrderNum", ZELVO_RECORD_FIELD(saOrigOrderNum)},
    {"qrcode", ZELVO_RECORD_FIELD(saQRCode)},
    {"scanCodeId", ZELVO_RECORD_FIELD(saScanCode)},
    {"sign", ZELVO_RECORD_FIELD(saSign)},
    {"chcdDiscount", ZELVO_RECORD_FIELD(saChannelDiscount)},
    {"merDiscount", ZELVO_RECORD_FIELD(saMerDiscount)},
    {"cardId", ZELVO_RECORD_FIELD(cardId)},
    {"cardInfo", ZELVO_RECORD_FIELD(cardInfo)},
    {"currency", ZELVO_RECORD_FIELD(currency)},
    {"terminalid", ZELVO_RECORD_FIELD(terminalid)},
    {"tradeFrom", ZELVO_RECORD_FIELD(tradeFrom)},
};

struct TxnRow {
    char direction;
    const char* code;
    const char* hex;
};

const TxnRow kTxnRows[kTxnBitmapCount] = {
    {'Q', "PURC", "DE09070000000000"}, {'A', "PURC", "FE08000000000000"},
    {'Q', "VOID", "DC0C030000000000"}, {'A', "VOID", "FC0C000000000000"},
    {'Q', "REFD", "DE0C030000000000"}, {'A', "REFD", "FC0C000000000000"},
    {'Q', "INQY", "DC04030000000000"}, {'A', "INQY", "FC04000000000000"},
    {'Q', "PAUT", "DE08070000000000"}, {'A', "PAUT", "FE08000000000000"},
    {'Q', "VERI", "D409030000000000"}, {'A', "VERI", "FC09000000000000"},
    {'Q', "CANC", "DC0C030000000000"}, {'A', "CANC", "FC0C000000000000"},
};

const MisLayoutEntry kRequestLayout[kMisRequestFields] = {
    {1, ZELVO_RECORD_FIELD(saOrderNum), MisRequestField::OrderNum.width},
    {2, ZELVO_RECORD_FIELD(saOrigOrderNum), MisRequestField::OrigOrderNum.width},
    {3, ZELVO_RECORD_FIELD(saTxnType), MisRequestField::TxnType.width},
    {4, ZELVO_RECORD_FIELD(saOrigTxnType), MisRequestField::OrigTxnType.width},
    {5, ZELVO_RECORD_FIELD(saChannelCode), MisRequestField::ChannelCode.width},
    {6, ZELVO_RECORD_FIELD(saMisTransAmt), MisRequestField::MisTransAmt.width},
    {7, ZELVO_RECORD_FIELD(saScanCode), MisRequestField::ScanCode.width},
    {8, ZELVO_RECORD_FIELD(saReserved), MisRequestField::Reserved.width},
    {9, ZELVO_RECORD_FIELD(terminalid), MisRequestField::TerminalId.width},
    {10, ZELVO_RECORD_FIELD(saGoodsInfo), MisRequestField::GoodsInfo.width},
    {11, ZELVO_RECORD_FIELD(currency), MisRequestField::Currency.width},
};

const MisLayoutEntry kResponseLayout[kMisResponseFields] = {
    {1, ZELVO_RECORD_FIELD(saOrderNum), MisResponseField::OrderNum.width},
    {2, ZELVO_RECORD_FIELD(saMisTransAmt), MisResponseField::MisTransAmt.width},
    {3, ZELVO_RECORD_FIELD(saRespCode), MisResponseField::RespCode.width},
    {4, ZELVO_RECORD_FIELD(saErrDetail), MisResponseField::ErrDetail.width},
    {5, ZELVO_RECORD_FIELD(saChannelOrderNum), MisResponseField::ChannelOrderNum.width},
    {6, ZELVO_RECORD_FIELD(saAcctNum), MisResponseField::AcctNum.width},
    {7, ZELVO_RECORD_FIELD(saAcctID), MisResponseField::AcctID.width},
    {8, ZELVO_RECORD_FIELD(saChannelDiscount), MisResponseField::ChannelDiscount.width},
    {9, ZELVO_RECORD_FIELD(saQRCode), MisResponseField::QRCode.width},
    {10, ZELVO_RECORD_FIELD(saExplain), MisResponseField::Explain.width},
    {11, ZELVO_RECORD_FIELD(cardId), MisResponseField::CardId.width},
    {12, ZELVO_RECORD_FIELD(cardInfo), MisResponseField::CardInfo.width},
    {13, ZELVO_RECORD_FIELD(saChannelCode), MisResponseField::ChannelCode.width},
};

bool BitInRange(const std::uint8_t* bitmap, int n, int location) {
    if (bitmap != nullptr && n >= 1 && n <= static_cast<int>(kBitmapBytes) * 8) return true;
    char text[96];
    std::snprintf(text, sizeof text, "vsapBitmap = 0x%02X, NBitMapLen = %d, vnFldIdx = %d.\n",
                  bitmap != nullptr ? bitmap[0] : 0, static_cast<int>(kBitmapBytes), n);
    WriteLogEvent(location, -1, text);
    return false;
}

}  // namespace

void PutMisTextField(char* text, MisTextField field, std::string_view value) {
    size_t count = value.size() < field.width ? value.size() : field.width;
    std::memcpy(text + field.offset, value.data(), count);
}

void InitFieldTables(MisCilContext& context) {
    for (size_t i = 0; i < kFieldCount; ++i) {
        FieldDef& def = context.fields[i];
        def.index = static_cast<int>(i + 1);
        std::snprintf(def.key, sizeof def.key, "%s", kFieldRows[i].key);
        def.keyLength = std::strlen(def.key);
        def.field = kFieldRows[i].field;
    }
    for (size_t i = 0; i < kTxnBitmapCount; ++i) {
        TxnBitmapDef& def = context.txnBitmaps[i];
        def.kind = 2;
        def.direction = kTxnRows[i].direction;
        std::snprintf(def.txnCode, sizeof def.txnCode, "%s", kTxnRows[i].code);
        std::snprintf(def.hexBitmap, sizeof def.hexBitmap, "%s", kTxnRows[i].hex);
        HexToBytes(def.hexBitmap, 16, def.bitmap.data());
    }
    std::copy(std::begin(kRequestLayout), std::end(kRequestLayout), context.misRequestLayout);
    std::copy(std::begin(kResponseLayout), std::end(kResponseLayout), context.misResponseLayout);
}

int LookupTxnBitmap(const MisCilContext& context, int kind, char direction,
                    std::string_view txnCode, Bitmap& result) {
    for (const TxnBitmapDef& def : context.txnBitmaps) {
        if (def.kind == kind && def.direction == direction && txnCode.size() >= 4 &&
            std::memcmp(def.txnCode, txnCode.data(), 4) == 0) {
            result = def.bitmap;
            return 0;
        }
    }
    return -1;
}

void SetBitmapBit(std::uint8_t* bitmap, int n) {
    if (!BitInRange(bitmap, n, 323)) return;
    bitmap[(n - 1) / 8] |= static_cast<std::uint8_t>(0x80 >> ((n - 1) % 8));
}

bool TestBitmapBit(const std::uint8_t* bitmap, int n) {
    if (!BitInRange(bitmap, n, 346)) return false;
    return (bitmap[(n - 1) / 8] & (0x80 >> ((n - 1) % 8))) != 0;
}

int HexToBytes(std::string_view text, size_t count, std::uint8_t* out) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (count > text.size()) return -1;
    for (size_t i = 0; i + 1 < count; i += 2) {
        int high = nibble(text[i]);
        int low = nibble(text[i + 1]);
        if (high < 0 || low < 0) return -1;
        out[i / 2] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return 0;
}

int NumToFixedWidth(long long value, char* out, int width) {
    if (width <= 0) {
        WriteLogEvent(239, -1, "vnNumStrL is err");
        return -1;
    }
    std::string digits = std::to_string(value < 0 ? -static_cast<unsigned long long>(value)
                                                  : static_cast<unsigned long long>(value));
    size_t room = static_cast<size_t>(width) - (value < 0 ? 1 : 0);
    if (digits.size() > room) {
        WriteLogEvent(254, -1, "nMNumOut process err");
        return -1;
    }
    std::string text(value < 0 ? 1 : 0, '-');
    text.append(room - digits.size(), '0');
    text += digits;
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    return 0;
}

}  // namespace zelvo
