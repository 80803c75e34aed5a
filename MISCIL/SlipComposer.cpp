#include "MISCIL/SlipComposer.h"

#include <cstdio>
#include <fstream>

#include "base/CodePage.h"
#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/MisCilConfig.h"

namespace zelvo {
namespace {

constexpr std::u16string_view kLineEnd = u"\r\n";

std::u16string Labelled(std::u16string_view label, std::u16string_view value) {
    std::u16string line(label);
    line += value;
    return line;
}

void AppendLine(std::u16string& slip, std::u16string_view label, std::u16string_view value) {
    slip.append(label).append(value).append(kLineEnd);
}

// Splits a line once at `width` characters; the rest is not wrapped again.
void AppendWrapped(std::u16string& slip, const std::u16string& line, int width) {
    if (width >= 1 && line.size() > static_cast<size_t>(width)) {
        slip += line.substr(0, static_cast<size_t>(width));
        slip += kLineEnd;
        slip += line.substr(static_cast<size_t>(width));
    } else {
        slip += line;
    }
    slip += kLineEnd;
}

std::u16string SlipTxnCode(const TransRecord& record) {
    std::string_view code = FieldValue(record.saTxnType) == TxnCode::Query
                                ? FieldValue(record.saOrigTxnType)
                                : FieldValue(record.saTxnType);
    return GbkToUtf16(code.empty() ? TxnCode::Purchase : code);
}

}  // namespace

std::u16string ChannelLabel(std::string_view channelCode) {
    std::string_view prefix = channelCode.substr(0, 3);
    for (const ChannelInfo& channel : kChannels) {
        if (prefix == channel.code) return ChannelLabelForName(channel.name);
    }
    return ChannelLabelForName(GbkToUtf16(channelCode));
}

std::u16string ChannelLabelForName(std::u16string_view channelName) {
    return Labelled(u"交易类型：", channelName).append(u" ");
}

std::u16string OperationWord(std::string_view slipTxnCode) {
    if (slipTxnCode == TxnCode::Void) return u"撤销";
    if (slipTxnCode == TxnCode::Refund) return u"退款";
    if (slipTxnCode == TxnCode::PreAuth) return u"收款码";
    if (slipTxnCode == TxnCode::Cancel) return u"取消";
    return u"扫码付";
}

std::u16string MaskAccount(std::u16string_view account) {
    std::u16string masked(account);
    if (masked.size() > 8) {
        for (size_t i = 4; i < masked.size() - 4; ++i) masked[i] = u'*';
    }
    return masked;
}

SlipContent SlipContentFromRecord(const TransRecord& record, const LocalTime& now) {
    std::string_view txnType = FieldValue(record.saTxnType);
    std::string slipCode = Utf16ToGbk(SlipTxnCode(record));
    std::string_view channel = FieldValue(record.saChannelCode);

    SlipContent content;
    content.channelLabel = ChannelLabel(channel);
    content.operationWord = OperationWord(slipCode);
    content.time = now;
    std::u16string account = GbkToUtf16(FieldValue(record.saAcctNum));
    content.account = channel == "ALP" ? account : MaskAccount(account);
    content.channelOrderNum = GbkToUtf16(FieldValue(record.saChannelOrderNum));
    content.merchantOrderNum =
        GbkToUtf16(txnType == TxnCode::Query ? FieldValue(record.saOrigOrderNum)
                                             : FieldValue(record.saOrderNum));
    std::string_view amount = FieldValue(record.saMisTransAmt);
    if (amount.empty()) amount = FieldValue(record.saOigTransAmtStr);
    if (amount.empty()) amount = "0.00";
    content.amount = Labelled(slipCode == TxnCode::Purchase ? u"" : u"-", GbkToUtf16(amount));
    return content;
}

void AppendSlipCopy(std::u16string& slip, std::u16string_view title, const SlipContent& content,
                    const SlipTerminal& terminal) {
    int width = terminal.lineWidth;
    // A title wider than the line starts at its left edge.
    int indent = (width - 2 * static_cast<int>(title.size())) / 2;
    slip.append(static_cast<size_t>(indent > 0 ? indent : 0), u' ');
    slip += title;
    slip += kLineEnd;
    slip.append(static_cast<size_t>(width > 0 ? width : 0), u'-');
    slip += kLineEnd;
    AppendWrapped(slip, Labelled(u"商户名称：", terminal.merName), width / 2);
    AppendLine(slip, u"商户编号：", GbkToUtf16(terminal.merCode));
    AppendLine(slip, u"终端编号：", GbkToUtf16(terminal.termCode));
    AppendLine(slip, u"操作员ID：", GbkToUtf16(std::string_view(terminal.operatorId).substr(0, 2)));
    AppendLine(slip, content.channelLabel, content.operationWord);
    char stamp[32];
    const LocalTime& t = content.time;
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    AppendWrapped(slip, Labelled(u"日期时间：", GbkToUtf16(stamp)), width - 5);
    AppendWrapped(slip, Labelled(u"交易账号：", content.account), width - 5);
    AppendWrapped(slip, Labelled(u"渠道订单号：", content.channelOrderNum), width - 6);
    AppendWrapped(slip, Labelled(u"商家订单号：", content.merchantOrderNum), width - 6);
    slip.append(u"金额：RMB  ").append(content.amount);
    for (int i = 0; i < terminal.spacLine; ++i) slip += kLineEnd;
}

bool WriteSlipFile(const std::filesystem::path& path, const SlipContent& content,
                   const SlipTerminal& terminal) {
    std::u16string slip;
    if (terminal.merchantCopy) AppendSlipCopy(slip, kMerchantCopyTitle, content, terminal);
    if (terminal.customerCopy) AppendSlipCopy(slip, kCustomerCopyTitle, content, terminal);

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + slip.size() * 2);
    for (char16_t unit : slip) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

SlipTerminal LoadedSlipTerminal() {
    const MisCilCfg& cfg = LoadedMisCilCfg();
    const MisCilSettings& settings = LoadedMisCilSettings();
    SlipTerminal terminal;
    terminal.merName = cfg.MerName;
    terminal.merCode = cfg.MerCode;
    terminal.termCode = cfg.TermCode;
    terminal.operatorId = MisCilOperatorId();
    terminal.lineWidth = settings.lineWidth;
    terminal.spacLine = settings.spacLine;
    terminal.merchantCopy = cfg.PrintMerPage == "1";
    terminal.customerCopy = cfg.PrintCustPage == "1";
    return terminal;
}

void WriteTransactionSlip(const TransRecord& record) {
    SlipContent content = SlipContentFromRecord(record, CurrentClock().Now());
    if (!WriteSlipFile(kSlipFileName, content, LoadedSlipTerminal())) {
        WriteLogEvent(&record, 1175, 1, "open file failed");
    }
}

}  // namespace zelvo
