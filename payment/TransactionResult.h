#pragma once

#include <string>

namespace zelvo {

struct TransRecord;

// The application's copy of one gateway answer; texts are 8-bit as the record holds them.
struct TransactionResult {
    std::string txnType;
    std::string origTxnType;
    std::string origOrderNum;
    std::string orderNum;
    std::string channelCode;
    std::string respCode;
    std::string channelOrderNum;
    std::string acctNum;  // masked unless the channel is Alipay; at most 64 characters
    std::string errDetail;
    std::string amountText;  // only the payment page's pending copy fills it
    double transAmt = 0.0;
};

inline constexpr size_t kMaskedAccountCapacity = 64;

// Keeps the first four and the last four characters of an account of eight or more characters
// and stars the rest; Alipay accounts stay as they are.
std::string MaskAccountNumber(const std::string& account, const std::string& channelCode);

// Copies the answer fields of `record` into `result`; a missing record leaves it unchanged.
// Always 1.
int ReadTransactionResult(const TransRecord* record, TransactionResult& result);

// A "00" whose signature did not verify (the library marks its error detail, or would have,
// had the detail not filled its field): not a payment.
bool IsUnverifiedSuccess(const TransactionResult& result);

// The response code the flows act on: an unverified "00" proves nothing and is followed up like
// "98", no answer in time.
std::string EffectiveRespCode(const TransactionResult& result);

// "09" or "98": the outcome is still open and a query follows it up.
bool IsOpenOutcome(const std::string& respCode);

}  // namespace zelvo
