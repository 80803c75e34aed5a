#include "payment/TransactionResult.h"

#include "MISCIL/TransRecord.h"
#include "MISCIL/TxnCodes.h"

namespace zelvo {
namespace {

constexpr size_t kAccountKeptEachSide = 4;
constexpr size_t kAccountMaskFrom = 8;
constexpr std::string_view kAlipayCode = "ALP";
constexpr std::string_view kUnverifiedMark = "&RSP_AUTH_NO_ERROR";
// The library appends its mark only as far as the error detail has room: a detail that fills
// the record's field may have lost the mark, so it proves nothing either.
constexpr size_t kErrDetailCapacity = sizeof(TransRecord::saErrDetail) - 1;

}  // namespace

std::string MaskAccountNumber(const std::string& account, const std::string& channelCode) {
    std::string masked = account.substr(0, kMaskedAccountCapacity);
    if (channelCode == kAlipayCode || masked.size() < kAccountMaskFrom) return masked;
    for (size_t i = kAccountKeptEachSide; i < masked.size() - kAccountKeptEachSide; ++i) {
        masked[i] = '*';
    }
    return masked;
}

int ReadTransactionResult(const TransRecord* record, TransactionResult& result) {
    if (!record) return 1;
    result.txnType = FieldValue(record->saTxnType);
    result.origTxnType = FieldValue(record->saOrigTxnType);
    result.transAmt = record->dTransAmt;
    result.channelCode = FieldValue(record->saChannelCode);
    result.orderNum = FieldValue(record->saOrderNum);
    result.origOrderNum = FieldValue(record->saOrigOrderNum);
    result.respCode = FieldValue(record->saRespCode);
    result.channelOrderNum = FieldValue(record->saChannelOrderNum);
    result.errDetail = FieldValue(record->saErrDetail);
    result.acctNum =
        MaskAccountNumber(std::string(FieldValue(record->saAcctNum)), result.channelCode);
    return 1;
}

bool IsUnverifiedSuccess(const TransactionResult& result) {
    return result.respCode == RespCode::Success &&
           (result.errDetail.find(kUnverifiedMark) != std::string::npos ||
            result.errDetail.size() >= kErrDetailCapacity);
}

std::string EffectiveRespCode(const TransactionResult& result) {
    return IsUnverifiedSuccess(result) ? std::string(RespCode::NoAnswer) : result.respCode;
}

bool IsOpenOutcome(const std::string& respCode) {
    return respCode == RespCode::InProgress || respCode == RespCode::NoAnswer;
}

}  // namespace zelvo
