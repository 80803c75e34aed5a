#pragma once

#include <map>
#include <optional>
#include <string>

namespace zelvo::sim {

// What the simulator does with a request instead of a plain acquirer's answer.
enum class SimAction {
    Normal,         // answer as an acquirer would
    Pending,        // leave the order open: "09" for the first N queries, then paid
    Refuse,         // answer with the rule's code and errorDetail
    Silent,         // take the order (paid) but send nothing and keep the connection open
    CloseMidFrame,  // send part of the answer and close
    Split,          // send the answer in small pieces with pauses
    Oversize,       // send a frame announcing more than 1024 bytes
    Garbage,        // send bytes that are no gateway message
    BadSign,        // sign the answer wrongly
    NoChcd,         // leave chcd out of the answer
};

struct SimRule {
    SimAction action = SimAction::Normal;
    std::string code;    // Refuse: respcd
    std::string detail;  // Refuse: errorDetail (UTF-8)
    int pendingQueries = -1;  // Pending: "09" answers before paid; -1: the rules' own count
};

// Parses "pending", "pending:N", "refuse:CODE:TEXT", "silent", "close", "split", "oversize", "garbage",
// "badsign", "nochcd" or "normal".
std::optional<SimRule> ParseSimRule(const std::string& text);

// Rules chosen by the amount's fen (the last two digits of txamt) and by the payment code's
// prefix; `always` applies to every answer when set.
struct SimRules {
    std::map<int, SimRule> byFen;
    std::map<std::string, SimRule> byCodePrefix;
    std::optional<SimRule> always;
    int pendingQueries = 2;  // "09" answers before a pending order is paid

    static SimRules Defaults();
    // The rule for a purchase of `fen` with payment code `scanCode`.
    SimRule For(long long fen, const std::string& scanCode) const;
};

}  // namespace zelvo::sim
