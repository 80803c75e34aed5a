#pragma once

#include <deque>
#include <string>

#include "base/Clock.h"

namespace zelvo {

struct TransactionResult;

enum class PaymentLogKind { Success = 0, InProgress = 1, Failure = 2 };

struct PaymentLogLine {
    PaymentLogKind kind = PaymentLogKind::Success;
    std::u16string text;
};

// The payment page's log: the newest three lines, oldest first.
class PaymentLog {
public:
    static constexpr size_t kCapacity = 3;

    void Add(PaymentLogLine line);
    const std::deque<PaymentLogLine>& Lines() const { return m_lines; }

private:
    std::deque<PaymentLogLine> m_lines;
};

// The display name of a channel code, or the code itself when the channel is unknown.
std::u16string ChannelName(const std::string& channelCode);

// The line for one answer: time, order number, amount, channel and the outcome.
PaymentLogLine ComposeLogLine(const TransactionResult& result, const LocalTime& now);

// The line for an exchange that brought no answer at all.
PaymentLogLine ComposeFailureLine(const std::string& orderNumber, const std::u16string& amount,
                                  const LocalTime& now);

}  // namespace zelvo
