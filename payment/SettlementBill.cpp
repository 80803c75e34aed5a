#include "payment/SettlementBill.h"

#include <algorithm>

#include "base/CodePage.h"
#include "payment/ChannelNames.h"
#include "payment/PrintFile.h"

namespace zelvo {
namespace {

constexpr std::u16string_view kTitle = u"交易结算账单";
// The title takes twelve columns; a narrower line still gets the whole title.
constexpr int kTitleWidth = 12;
// The line buffer of the bill; no configured width may exceed it.
constexpr int kLineBufferWidth = 254;
// SpacLine is clamped to this when it is loaded.
constexpr int kMostTrailingBlankLines = 15;

std::u16string Spaces(int count) {
    return std::u16string(std::max(count, 0), u' ');
}

// Between two numbers (or a name and a number) at least one space, also when a count or an
// amount is wider than its column.
std::u16string Gap(int count) {
    return Spaces(std::max(count, 1));
}

std::u16string Ascii(const std::string& text) {
    return GbkToUtf16(text);
}

class BillWriter {
public:
    explicit BillWriter(int lineWidth) : m_lineWidth(lineWidth) {}

    void Line(std::u16string_view text) {
        m_text.append(text);
        m_text.append(u"\r\n");
    }
    void Rule() { Line(std::u16string(m_lineWidth, u'-')); }
    // Split once after half the width: the receipt font draws these characters double-wide.
    void Wrapped(const std::u16string& text) {
        const size_t half = static_cast<size_t>(m_lineWidth / 2);
        if (text.size() > half) {
            Line(std::u16string_view(text).substr(0, half));
            Line(std::u16string_view(text).substr(half));
        } else {
            Line(text);
        }
    }
    std::u16string Take() { return std::move(m_text); }

private:
    int m_lineWidth;
    std::u16string m_text;
};

void AppendChannelLines(BillWriter& bill, const std::string& code, const ChannelTotals& totals) {
    const std::u16string_view name = SettlementChannelName(code);
    const int nameWidth = ChannelNameWidth(code, name);
    const std::u16string purchaseCount = Ascii(std::to_string(totals.purchaseCount));
    const std::u16string refundCount = Ascii(std::to_string(totals.refundCount));
    bill.Line(std::u16string(name) + Spaces(9 - 2 * nameWidth) + u"下单支付 " + purchaseCount +
              Gap(6 - static_cast<int>(purchaseCount.size())) +
              Ascii(FormatFen(totals.purchaseFen)));
    bill.Line(std::u16string(name) + Spaces(9 - 2 * nameWidth) + u"退款     " + refundCount +
              Gap(6 - static_cast<int>(refundCount.size())) + Ascii(FormatFen(totals.refundFen)));
}

void AppendSummaryLine(BillWriter& bill, const std::string& code, const ChannelTotals& totals) {
    const std::u16string_view name = SettlementChannelName(code);
    const int nameWidth = ChannelNameWidth(code, name);
    const std::u16string count =
        Ascii(std::to_string(static_cast<long long>(totals.purchaseCount) + totals.refundCount));
    const std::u16string amount = Ascii(FormatFen(totals.purchaseFen + totals.refundFen));
    bill.Line(std::u16string(name) + Gap(15 - 2 * nameWidth - static_cast<int>(count.size())) +
              count + u"笔" + Spaces(11 - static_cast<int>(amount.size())) + amount + u"元");
}

}  // namespace

std::u16string SettlementBillText(const SettlementTotals& totals,
                                  const SettlementBillHeader& header) {
    int lineWidth = std::clamp(header.lineWidth, 1, kLineBufferWidth);
    int titleIndent = (lineWidth - kTitleWidth) / 2;
    if (lineWidth < kTitleWidth) {
        // A line narrower than the title is widened so that the title fits behind its indent.
        titleIndent = kTitleWidth - lineWidth;
        lineWidth += 3 * (kTitleWidth - lineWidth);
    }
    BillWriter bill(lineWidth);
    bill.Line(Spaces(titleIndent) + std::u16string(kTitle));
    bill.Rule();
    bill.Wrapped(u"商户名称：" + header.merName);
    bill.Line(u"商户编号：" + Ascii(header.merCode));
    bill.Line(u"终端编号：" + Ascii(header.termCode));
    bill.Rule();
    bill.Line(u"操作员ID：" + Ascii(header.operatorId));
    bill.Line(u"账户品牌 交易类型 笔数  金额(元)");
    for (const auto& [code, channel] : totals) AppendChannelLines(bill, code, channel);
    bill.Rule();
    for (const auto& [code, channel] : totals) AppendSummaryLine(bill, code, channel);
    const int blankLines = std::clamp(header.trailingBlankLines, 0, kMostTrailingBlankLines);
    for (int i = 0; i < blankLines; ++i) bill.Line(u"");
    return bill.Take();
}

bool ComposeSettlementBill(const SettlementTotals& totals, const SettlementBillHeader& header,
                           const std::filesystem::path& file) {
    return WritePrintFile(file, SettlementBillText(totals, header));
}

}  // namespace zelvo
