#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/Clock.h"
#include "MISCIL/TransRecord.h"

namespace zelvo {

// The print hand-off file, in the current directory.
inline constexpr const char* kSlipFileName = "SCprint.txt";

inline constexpr std::u16string_view kMerchantCopyTitle = u"签购单";
inline constexpr std::u16string_view kCustomerCopyTitle = u"签购单（顾客存根）";

// What every slip takes from the terminal: merchant, terminal, operator, layout and copies.
struct SlipTerminal {
    std::u16string merName;
    std::string merCode;
    std::string termCode;
    std::string operatorId;  // first two characters shown
    int lineWidth = 32;      // W
    int spacLine = 1;        // S: line breaks after the amount
    bool merchantCopy = false;
    bool customerCopy = false;
};

// The transaction lines of one slip, as shown.
struct SlipContent {
    std::u16string channelLabel;   // "交易类型：微信 " (ends with a space)
    std::u16string operationWord;  // "扫码付", "退款", ...
    LocalTime time;
    std::u16string account;  // already masked where it must be
    std::u16string channelOrderNum;
    std::u16string merchantOrderNum;
    std::u16string amount;  // with its leading "-" where the slip shows one
};

// "交易类型：" with the channel's name, or with the code itself when it is unknown; then a space.
std::u16string ChannelLabel(std::string_view channelCode);
// The same for a channel name as the transaction list shows it.
std::u16string ChannelLabelForName(std::u16string_view channelName);
// "扫码付", "撤销", "退款", "收款码", "取消"; any other code "扫码付".
std::u16string OperationWord(std::string_view slipTxnCode);
// Keeps the first four and the last four characters of an account longer than eight.
std::u16string MaskAccount(std::u16string_view account);

// The slip of an answered exchange: the queried transaction for a query, the amount signed
// unless it is a purchase, the account masked unless the channel is Alipay.
SlipContent SlipContentFromRecord(const TransRecord& record, const LocalTime& now);

// Appends one copy under `title`, CR LF line ends.
void AppendSlipCopy(std::u16string& slip, std::u16string_view title, const SlipContent& content,
                    const SlipTerminal& terminal);

// Writes `path` anew as UTF-16 little-endian with byte-order mark: the merchant copy and the
// customer copy as the terminal selects them. False when the file could not be written.
bool WriteSlipFile(const std::filesystem::path& path, const SlipContent& content,
                   const SlipTerminal& terminal);

// The terminal values taken by the last nLoadCfg with the operator set at login.
SlipTerminal LoadedSlipTerminal();

// The driver's slip step: SCprint.txt for the answered record, "open file failed" logged when
// it cannot be created.
void WriteTransactionSlip(const TransRecord& record);

}  // namespace zelvo
