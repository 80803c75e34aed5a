#pragma once

#include <functional>
#include <string>

#include "payment/IconKind.h"

namespace zelvo {

class CLocalDb;
class ExchangeRunner;
class OrderJournal;
struct TerminalConfig;

// What the payment and refund flows reach beyond their page.
struct FlowServices {
    // The one exchange at a time of the process.
    ExchangeRunner& exchanges;
    // The local database; null when it cannot be opened.
    std::function<CLocalDb*()> database;
    // The logged-in operator's ID, 8-bit as stored.
    std::function<std::string()> operatorId;
    // Takes SCprint.txt to the printer on a worker thread.
    std::function<void()> startPrintJob;
    const TerminalConfig& config;
    // Orders sent and their outcomes; none: rows are written without a journal.
    OrderJournal* journal = nullptr;
};

// "正在处理，请稍候！": the answer to an operator action while an exchange runs.
inline constexpr std::u16string_view kBusyText = u"正在处理，请稍候！";
inline constexpr std::u16string_view kOfflineText = u"网络异常，请确认当前网络状态";
inline constexpr std::u16string_view kUnderstoodButton = u"我知道了";

// Icon of the flows' notice and confirm dialogs.
inline constexpr IconKind kNoticeIcon = IconKind::Warning;

// Follow-ups of one purchase or refund: the answer that finds this many before it ends them.
inline constexpr int kFollowUpLimit = 3;
// Counts one more answer; true when the limit had already been reached.
inline bool CountAndCheckLimit(int& count) {
    return count++ >= kFollowUpLimit;
}

// Slips are printed after single transactions unless PrintCustPage keeps them for settlement.
bool PrintsSlipAfterTransaction(const TerminalConfig& config);

}  // namespace zelvo
