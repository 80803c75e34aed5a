#include "payment/PaymentLog.h"

#include <cstdio>

#include "base/CodePage.h"
#include "MISCIL/TxnCodes.h"
#include "payment/TransactionResult.h"

namespace zelvo {

void PaymentLog::Add(PaymentLogLine line) {
    m_lines.push_back(std::move(line));
    while (m_lines.size() > kCapacity) m_lines.pop_front();
}

std::u16string ChannelName(const std::string& channelCode) {
    const ChannelInfo* channel = FindChannel(channelCode);
    return channel ? std::u16string(channel->name) : GbkToUtf16(channelCode);
}

PaymentLogLine ComposeLogLine(const TransactionResult& result, const LocalTime& now) {
    const bool purchase = result.txnType == TxnCode::Purchase;
    const bool cancel = result.txnType == TxnCode::Cancel;
    const std::string& code = result.respCode;
    char amount[64];
    std::snprintf(amount, sizeof amount, "%.2f", result.transAmt);

    PaymentLogLine line;
    line.text = Utf8ToUtf16(FormatLocalTime(now, "%H:%M:%S")) + u"，订单号：" +
                GbkToUtf16(purchase ? result.orderNum : result.origOrderNum) + u"，金额：" +
                Utf8ToUtf16(amount) + u"，" + ChannelName(result.channelCode);
    if (code == RespCode::Success) {
        line.kind = PaymentLogKind::Success;
        line.text += cancel ? u"；取消支付，关闭订单！" : u"；交易成功！";
    } else if (code == RespCode::InProgress && !cancel) {
        line.kind = PaymentLogKind::InProgress;
        line.text += u"；交易处理中...";
    } else {
        line.kind = PaymentLogKind::Failure;
        line.text +=
            (cancel ? u"；取消失败，返回码：" : u"；交易失败，返回码：") + GbkToUtf16(code);
    }
    if (!result.errDetail.empty() && code != RespCode::Success && code != RespCode::InProgress) {
        line.text += u"；错误详情：" + GbkToUtf16(result.errDetail);
    }
    return line;
}

PaymentLogLine ComposeFailureLine(const std::string& orderNumber, const std::u16string& amount,
                                  const LocalTime& now) {
    return {PaymentLogKind::Failure, Utf8ToUtf16(FormatLocalTime(now, "%H:%M:%S")) + u"，订单号：" +
                                         GbkToUtf16(orderNumber) + u"，金额：" + amount +
                                         u"，交易失败；"};
}

}  // namespace zelvo
