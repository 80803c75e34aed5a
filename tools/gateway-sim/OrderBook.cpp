#include "tools/gateway-sim/OrderBook.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/CodePage.h"

namespace zelvo::sim {
namespace {

// Keys in the gateway's field order; the answer is written in this order.
const char* const kKeyOrder[] = {
    "txndir",     "busicd",      "respcd",       "inscd",           "chcd",
    "mchntid",    "txamt",       "goodsInfo",    "channelOrderNum", "consumerAccount",
    "consumerId", "errorDetail", "orderNum",     "origOrderNum",    "qrcode",
    "scanCodeId", "sign",        "chcdDiscount", "merDiscount",     "cardId",
    "cardInfo",   "currency",    "terminalid",   "tradeFrom",
};

std::string FenText(long long fen) {
    char text[24];
    std::snprintf(text, sizeof text, "%012lld", fen);
    return text;
}

long long FenOf(const std::string& txamt) {
    if (txamt.empty() || txamt.size() > 12) return -1;
    for (char c : txamt) {
        if (c < '0' || c > '9') return -1;
    }
    return std::atoll(txamt.c_str());
}

// Common fields echoed from the request, then the answer's own; empty values are left out.
SimPairs Ordered(const SimPairs& request, std::map<std::string, std::string> fields) {
    for (const char* echoed :
         {"busicd", "inscd", "mchntid", "txamt", "orderNum", "origOrderNum", "terminalid"}) {
        if (!fields.count(echoed)) fields[echoed] = ValueOf(request, echoed);
    }
    fields["txndir"].assign(1, 'A');  // not = "A": GCC 12 warns falsely (-Wrestrict) on that
    SimPairs pairs;
    for (const char* key : kKeyOrder) {
        auto found = fields.find(key);
        if (found != fields.end() && !found->second.empty()) pairs.emplace_back(key, found->second);
    }
    return pairs;
}

std::string AccountFor(const std::string& chcd, long long sequence) {
    char text[48];
    if (chcd == "ALP") {
        std::snprintf(text, sizeof text, "zel***%04lld@example.com", sequence % 10000);
    } else {
        std::snprintf(text, sizeof text, "oZelvo%010lldSimAccountXY", sequence);
    }
    return text;
}

}  // namespace

std::string ChannelOfPaymentCode(const std::string& scanCode) {
    int lead = scanCode.size() >= 2 ? std::atoi(scanCode.substr(0, 2).c_str()) : -1;
    if (lead >= 10 && lead <= 15) return "WXP";
    if (lead >= 25 && lead <= 30) return "ALP";
    switch (lead) {
        case 62:
            return "YLP";
        case 91:
            return "QQP";
        case 18:
            return "JDP";
        case 31:
            return "BDP";
        case 81:
            return "YDP";
        case 51:
            return "YZF";
        default:
            return "WXP";
    }
}

OrderBook::OrderBook(SimRules rules, std::string charset)
    : m_rules(std::move(rules)), m_charset(std::move(charset)) {}

std::string OrderBook::Text(const std::string& utf8) const {
    return m_charset == "2" ? Utf8ToGbk(utf8) : utf8;
}

std::string OrderBook::NextChannelOrderNum() {
    char text[40];
    std::snprintf(text, sizeof text, "4200%016lld", ++m_sequence);
    return text;
}

SimAnswer OrderBook::Refusal(const SimPairs& request, const std::string& code,
                             const std::string& detail) const {
    SimAnswer answer;
    answer.pairs = Ordered(request, {{"respcd", code}, {"errorDetail", Text(detail)}});
    answer.summary = ValueOf(request, "busicd") + " " + code + " " + detail;
    return answer;
}

SimAnswer OrderBook::Answer(const SimPairs& request) {
    std::lock_guard lock(m_mutex);
    std::string busicd = ValueOf(request, "busicd");
    SimAnswer answer;
    if (busicd == "PURC") {
        answer = Purchase(request);
    } else if (busicd == "INQY") {
        answer = Query(request);
    } else if (busicd == "CANC") {
        answer = Cancel(request);
    } else if (busicd == "REFD") {
        answer = Refund(request);
    } else {
        answer.pairs = Ordered(request, {{"respcd", "12"}, {"errorDetail", Text("不支持的交易")}});
        answer.summary = busicd + " unsupported";
    }
    WriteBook();
    // The rule of a purchase was chosen by its amount; "always" covers every answer.
    if (m_rules.always) {
        answer.rule = *m_rules.always;
        if (answer.rule.action == SimAction::Refuse) {
            answer.pairs = Ordered(
                request, {{"respcd", answer.rule.code}, {"errorDetail", Text(answer.rule.detail)}});
            answer.summary = busicd + " " + answer.rule.code + " (always refused)";
            answer.rule = SimRule{};
        }
    }
    return answer;
}

void OrderBook::SetBookFile(std::string path) {
    std::lock_guard lock(m_mutex);
    m_bookFile = std::move(path);
    WriteBook();
}

std::string OrderBook::BookText() const {
    std::lock_guard lock(m_mutex);
    return BookTextLocked();
}

std::string OrderBook::BookTextLocked() const {
    std::string text = "order\tkind\tamount\tstate\trefunded\n";
    for (const auto& [orderNum, order] : m_orders) {
        const char* state = "paid";
        switch (order.state) {
            case State::Pending:
                state = "open";
                break;
            case State::Closed:
                state = "cancelled";
                break;
            case State::Failed:
                state = "refused";
                break;
            case State::Paid:
                break;
        }
        char line[160];
        std::snprintf(line, sizeof line, "%s\t%s\t%lld.%02lld\t%s\t%lld.%02lld\n",
                      orderNum.substr(0, 64).c_str(), order.refund ? "refund" : "purchase",
                      order.fen / 100, order.fen % 100, state, order.refundedFen / 100,
                      order.refundedFen % 100);
        text += line;
    }
    return text;
}

void OrderBook::WriteBook() const {
    if (m_bookFile.empty()) return;
    // Written aside and renamed, so a reader never sees half a book.
    const std::string partial = m_bookFile + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << BookTextLocked();
        if (!out) return;
    }
    std::error_code error;
    std::filesystem::rename(partial, m_bookFile, error);
}

SimAnswer OrderBook::Purchase(const SimPairs& request) {
    std::string orderNum = ValueOf(request, "orderNum");
    long long fen = FenOf(ValueOf(request, "txamt"));
    std::string scanCode = ValueOf(request, "scanCodeId");
    SimAnswer answer;
    if (fen < 0 || orderNum.empty() || scanCode.empty()) {
        answer.pairs = Ordered(request, {{"respcd", "30"}, {"errorDetail", Text("报文格式错误")}});
        answer.summary = "PURC 30 malformed";
        return answer;
    }
    if (m_orders.count(orderNum)) {
        answer.pairs = Ordered(request, {{"respcd", "94"}, {"errorDetail", Text("订单号重复")}});
        answer.summary = "PURC 94 order=" + orderNum;
        return answer;
    }
    answer.rule = m_rules.For(fen, scanCode);
    Order order;
    order.fen = fen;
    order.chcd = ChannelOfPaymentCode(scanCode);
    order.channelOrderNum = NextChannelOrderNum();
    order.account = AccountFor(order.chcd, m_sequence);
    order.respcd = "00";
    if (answer.rule.action == SimAction::Pending) {
        order.state = State::Pending;
        order.respcd = "09";
        order.pendingQueries = answer.rule.pendingQueries >= 0 ? answer.rule.pendingQueries
                                                               : m_rules.pendingQueries;
    } else if (answer.rule.action == SimAction::Refuse) {
        order.state = State::Failed;
        order.respcd = answer.rule.code;
        order.errorDetail = Text(answer.rule.detail);
        answer.rule = SimRule{};
    }
    m_orders[orderNum] = order;
    std::map<std::string, std::string> fields{{"respcd", order.respcd},
                                              {"chcd", order.chcd},
                                              {"txamt", FenText(fen)},
                                              {"errorDetail", order.errorDetail}};
    if (order.state == State::Paid) {
        fields["channelOrderNum"] = order.channelOrderNum;
        fields["consumerAccount"] = order.account;
    }
    answer.pairs = Ordered(request, fields);
    answer.summary = "PURC " + order.respcd + " order=" + orderNum + " fen=" + std::to_string(fen) +
                     " chcd=" + order.chcd;
    return answer;
}

SimAnswer OrderBook::Query(const SimPairs& request) {
    std::string origOrderNum = ValueOf(request, "origOrderNum");
    SimAnswer answer;
    auto found = m_orders.find(origOrderNum);
    if (found == m_orders.end()) {
        answer.pairs = Ordered(request, {{"respcd", "25"}, {"errorDetail", Text("订单不存在")}});
        answer.summary = "INQY 25 order=" + origOrderNum;
        return answer;
    }
    Order& order = found->second;
    if (order.state == State::Pending) {
        if (order.pendingQueries > 0) {
            --order.pendingQueries;
        } else {
            order.state = State::Paid;
            order.respcd = "00";
        }
    }
    std::map<std::string, std::string> fields{{"chcd", order.chcd}, {"txamt", FenText(order.fen)}};
    switch (order.state) {
        case State::Pending:
            fields["respcd"] = "09";
            break;
        case State::Paid:
            fields["respcd"] = "00";
            fields["channelOrderNum"] = order.channelOrderNum;
            fields["consumerAccount"] = order.account;
            break;
        case State::Closed:
            fields["respcd"] = "54";
            fields["errorDetail"] = Text("订单已关闭");
            break;
        case State::Failed:
            fields["respcd"] = order.respcd;
            fields["errorDetail"] = order.errorDetail;
            break;
    }
    answer.pairs = Ordered(request, fields);
    answer.summary = "INQY " + fields["respcd"] + " order=" + origOrderNum;
    return answer;
}

SimAnswer OrderBook::Cancel(const SimPairs& request) {
    std::string origOrderNum = ValueOf(request, "origOrderNum");
    SimAnswer answer;
    auto found = m_orders.find(origOrderNum);
    std::map<std::string, std::string> fields;
    if (found == m_orders.end()) {
        fields = {{"respcd", "25"}, {"errorDetail", Text("订单不存在")}};
    } else if (found->second.state == State::Pending) {
        found->second.state = State::Closed;
        fields = {{"respcd", "00"}, {"chcd", found->second.chcd}};
    } else if (found->second.state == State::Closed) {
        fields = {{"respcd", "00"}, {"chcd", found->second.chcd}};
    } else {
        fields = {{"respcd", "12"}, {"errorDetail", Text("订单状态不允许取消")}};
    }
    answer.pairs = Ordered(request, fields);
    answer.summary = "CANC " + fields["respcd"] + " order=" + origOrderNum;
    return answer;
}

SimAnswer OrderBook::Refund(const SimPairs& request) {
    std::string origOrderNum = ValueOf(request, "origOrderNum");
    std::string orderNum = ValueOf(request, "orderNum");
    long long fen = FenOf(ValueOf(request, "txamt"));
    SimAnswer answer;
    auto found = m_orders.find(origOrderNum);
    std::map<std::string, std::string> fields;
    if (found == m_orders.end()) {
        fields = {{"respcd", "25"}, {"errorDetail", Text("原订单不存在")}};
    } else if (found->second.state != State::Paid) {
        fields = {{"respcd", "12"}, {"errorDetail", Text("原交易状态不允许退款")}};
    } else if (fen <= 0 || orderNum.empty() || m_orders.count(orderNum)) {
        fields = {{"respcd", "30"}, {"errorDetail", Text("退款请求无效")}};
    } else if (found->second.refundedFen + fen > found->second.fen) {
        fields = {{"respcd", "13"}, {"errorDetail", Text("退款金额超过可退金额")}};
    } else {
        Order& original = found->second;
        original.refundedFen += fen;
        Order refund;
        refund.fen = fen;
        refund.chcd = original.chcd;
        refund.channelOrderNum = NextChannelOrderNum();
        refund.account = original.account;
        refund.respcd = "00";
        refund.refund = true;
        m_orders[orderNum] = refund;
        fields = {{"respcd", "00"},
                  {"chcd", refund.chcd},
                  {"txamt", FenText(fen)},
                  {"channelOrderNum", refund.channelOrderNum},
                  {"consumerAccount", refund.account}};
    }
    answer.pairs = Ordered(request, fields);
    answer.summary = "REFD " + fields["respcd"] + " order=" + orderNum + " orig=" + origOrderNum +
                     " fen=" + std::to_string(fen);
    return answer;
}

}  // namespace zelvo::sim
