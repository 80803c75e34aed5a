#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace zelvo {

// The transaction record: every text field is a zero-terminated 8-bit string (system code page)
// of at most the field's maximum, so each array holds Max + 1 characters.
struct TransRecord {
    char saTxndir[1 + 1];
    char saTxnType[4 + 1];
    char saOrigTxnType[4 + 1];
    char saRespCode[2 + 1];
    char saAcqInsCode[13 + 1];
    char saChannelCode[5 + 1];
    char saMerCode[15 + 1];
    char saMisTransAmt[12 + 1];
    char saOigTransAmtNum[12 + 1];
    char saOigTransAmtStr[29 + 1];
    double dTransAmt;
    char saGoodsInfo[512 + 1];
    char saChannelOrderNum[64 + 1];
    char saAcctNum[100 + 1];
    char saAcctID[16 + 1];
    char saErrDetail[512 + 1];
    char saOrderNum[64 + 1];
    char saOrigOrderNum[64 + 1];
    char saQRCode[60 + 1];
    char saScanCode[32 + 1];
    char saSign[128 + 1];
    char saChannelDiscount[13 + 1];
    char saMerDiscount[13 + 1];
    char saExplain[60 + 1];
    char saReserved[8 + 1];
    char terminalid[8 + 1];
    char cardId[40 + 1];
    char cardInfo[512 + 1];
    char currency[3 + 1];
    char tradeFrom[5 + 1];
};

// Where a field lies in the record, so tables can name fields of any size.
struct RecordField {
    size_t offset;
    size_t max;  // characters, without the terminator
};

#define ZELVO_RECORD_FIELD(name)                                                     \
    ::zelvo::RecordField {                                                           \
        offsetof(::zelvo::TransRecord, name), sizeof(::zelvo::TransRecord::name) - 1 \
    }

inline char* FieldText(TransRecord& record, RecordField field) {
    return reinterpret_cast<char*>(&record) + field.offset;
}
inline const char* FieldText(const TransRecord& record, RecordField field) {
    return reinterpret_cast<const char*>(&record) + field.offset;
}

// The value of a field, never reading past its array even when the terminator is missing.
template <size_t N>
std::string_view FieldValue(const char (&field)[N]) {
    return std::string_view(field, strnlen(field, N));
}
inline std::string_view FieldValue(const TransRecord& record, RecordField field) {
    const char* text = FieldText(record, field);
    return std::string_view(text, strnlen(text, field.max + 1));
}

// Stores `value` cut to the field's maximum, always terminated.
template <size_t N>
void SetFieldValue(char (&field)[N], std::string_view value) {
    size_t count = value.size() < N - 1 ? value.size() : N - 1;
    std::memcpy(field, value.data(), count);
    field[count] = '\0';
}
void SetFieldValue(TransRecord& record, RecordField field, std::string_view value);

}  // namespace zelvo
