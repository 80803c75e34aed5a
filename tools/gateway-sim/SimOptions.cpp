#include "tools/gateway-sim/SimOptions.h"

#include <cstdlib>

namespace zelvo::sim {
namespace {

std::optional<int> Number(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    int value = std::atoi(text.c_str());
    if (value < low || value > high) return std::nullopt;
    return value;
}

// "--rule FEN=ACTION" or "--rule code:PREFIX=ACTION".
bool AddRule(SimRules& rules, const std::string& text) {
    size_t equals = text.find('=');
    if (equals == std::string::npos) return false;
    std::string target = text.substr(0, equals);
    std::optional<SimRule> rule = ParseSimRule(text.substr(equals + 1));
    if (!rule) return false;
    if (target.rfind("code:", 0) == 0 && target.size() > 5) {
        rules.byCodePrefix[target.substr(5)] = *rule;
        return true;
    }
    std::optional<int> fen = target.size() == 2 ? Number(target, 0, 99) : std::nullopt;
    if (!fen) return false;
    rules.byFen[*fen] = *rule;
    return true;
}

}  // namespace

const char* SimUsage() {
    return R"(usage: gateway-sim [options]

A payment gateway for tests and demonstrations. It listens on 127.0.0.1, keeps its orders in
memory and answers like an acquirer: PURC creates an order, INQY reports an order by
origOrderNum, CANC closes an open order, REFD refunds no more than was paid. It prints one line
per exchange and stops on SIGTERM or SIGINT.

options:
  --port N          TCP port on 127.0.0.1 (default 17601; 0 takes a free port)
  --key KEY         signing key of requests and answers (default the demo key
                    Zelvo0123456789abcdefDEMOKEY2026; "" answers unsigned and checks nothing)
  --charset 1|2     1: message bodies in UTF-8 (default); 2: in GBK
  --pending N       "09" answers to queries before a pending order is paid (default 2)
  --rule FF=ACTION  rule for purchases whose amount ends in FF fen (two digits)
  --rule code:PREFIX=ACTION
                    rule for purchases whose payment code starts with PREFIX
  --always ACTION   apply ACTION to every answer
  --book FILE       write the order book to FILE after every answer: a header line, then
                    per order its number, kind (purchase, refund), amount, state (open, paid,
                    cancelled, refused) and the amount refunded, separated by tabs
  --help            this text

actions:
  normal            answer as an acquirer would
  pending           answer "09"; queries answer "09" --pending times, then "00"
  pending:N         the same with N "09" answers to queries (a customer who takes long)
  refuse:CODE:TEXT  answer respcd CODE with errorDetail TEXT
  silent            take the order as paid but send no answer, keep the connection open
  close             send the first half of the answer and close
  split             send the answer in pieces of 7 bytes with short pauses
  oversize          send a frame announcing 1500 bytes
  garbage           send bytes that are no gateway message
  badsign           sign the answer wrongly
  nochcd            leave chcd out of the answer

default rules (by the amount's fen):
  .91 pending    .92 refuse:51:余额不足    .93 silent    .94 close    .95 split
  .96 oversize   .97 garbage    .98 badsign    .99 nochcd
  payment codes starting with 99: refuse:14:付款码无效
Channels follow the payment code: 10-15 WXP, 25-30 ALP, 62 YLP, 91 QQP, 18 JDP, 31 BDP,
81 YDP, 51 YZF; any other code WXP.
)";
}

std::optional<SimOptions> ParseSimOptions(int argc, char** argv, std::string& error) {
    SimOptions options;
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            options.help = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value for " + option;
            return std::nullopt;
        }
        std::string value = argv[++i];
        if (option == "--port") {
            std::optional<int> port = Number(value, 0, 65535);
            if (!port) {
                error = "bad port: " + value;
                return std::nullopt;
            }
            options.port = *port;
        } else if (option == "--book" && !value.empty()) {
            options.bookFile = value;
        } else if (option == "--key") {
            options.key = value;
        } else if (option == "--charset" && (value == "1" || value == "2")) {
            options.charset = value;
        } else if (option == "--pending" && Number(value, 0, 100)) {
            options.rules.pendingQueries = *Number(value, 0, 100);
        } else if (option == "--rule" && AddRule(options.rules, value)) {
        } else if (option == "--always" && ParseSimRule(value)) {
            options.rules.always = ParseSimRule(value);
        } else {
            error = "bad option: " + option + " " + value;
            return std::nullopt;
        }
    }
    return options;
}

}  // namespace zelvo::sim
