#pragma once

#include <map>
#include <mutex>
#include <string>

#include "tools/gateway-sim/SimCodec.h"
#include "tools/gateway-sim/SimRules.h"

namespace zelvo::sim {

// The answer to one request and how it is to be sent.
struct SimAnswer {
    SimPairs pairs;  // without sign
    SimRule rule;    // Normal: sent as it is
    std::string summary;
};

// The acquirer's orders, kept in memory: purchases by order number, refunds by their own.
class OrderBook {
public:
    OrderBook(SimRules rules, std::string charset);

    // Safe to call from several connections at once.
    SimAnswer Answer(const SimPairs& request);
    // A refusal of `request` with `code` and a UTF-8 `detail`, touching no order.
    SimAnswer Refusal(const SimPairs& request, const std::string& code,
                      const std::string& detail) const;
    // From now on the book is written to `path` after every answer (empty: never).
    void SetBookFile(std::string path);
    // The book as written: a header, then one line per order in order-number order.
    std::string BookText() const;

private:
    enum class State { Pending, Paid, Closed, Failed };
    struct Order {
        State state = State::Paid;
        long long fen = 0;
        long long refundedFen = 0;
        int pendingQueries = 0;
        std::string chcd;
        std::string channelOrderNum;
        std::string account;
        std::string respcd;
        std::string errorDetail;
        bool refund = false;
    };

    SimAnswer Purchase(const SimPairs& request);
    SimAnswer Query(const SimPairs& request);
    SimAnswer Cancel(const SimPairs& request);
    SimAnswer Refund(const SimPairs& request);
    // The sim's own texts are UTF-8; the wire may want GBK.
    std::string Text(const std::string& utf8) const;
    std::string NextChannelOrderNum();
    std::string BookTextLocked() const;
    void WriteBook() const;

    SimRules m_rules;
    std::string m_charset;
    mutable std::mutex m_mutex;
    std::string m_bookFile;
    std::map<std::string, Order> m_orders;
    long long m_sequence = 0;
};

// The channel a payment code belongs to, by its leading digits.
std::string ChannelOfPaymentCode(const std::string& scanCode);

}  // namespace zelvo::sim
