#include "tools/gateway-sim/SimRules.h"

namespace zelvo::sim {

std::optional<SimRule> ParseSimRule(const std::string& text) {
    static const std::map<std::string, SimAction> kPlain = {
        {"normal", SimAction::Normal},   {"pending", SimAction::Pending},
        {"silent", SimAction::Silent},   {"close", SimAction::CloseMidFrame},
        {"split", SimAction::Split},     {"oversize", SimAction::Oversize},
        {"garbage", SimAction::Garbage}, {"badsign", SimAction::BadSign},
        {"nochcd", SimAction::NoChcd},
    };
    auto plain = kPlain.find(text);
    if (plain != kPlain.end()) return SimRule{plain->second, {}, {}};
    if (text.rfind("pending:", 0) == 0) {
        const std::string count = text.substr(8);
        if (count.empty() || count.size() > 3 ||
            count.find_first_not_of("0123456789") != std::string::npos) {
            return std::nullopt;
        }
        return SimRule{SimAction::Pending, {}, {}, std::stoi(count)};
    }
    if (text.rfind("refuse:", 0) != 0) return std::nullopt;
    std::string rest = text.substr(7);
    size_t colon = rest.find(':');
    SimRule rule{SimAction::Refuse, rest.substr(0, colon),
                 colon == std::string::npos ? std::string() : rest.substr(colon + 1)};
    if (rule.code.size() != 2) return std::nullopt;
    return rule;
}

SimRules SimRules::Defaults() {
    SimRules rules;
    rules.byFen[91] = {SimAction::Pending, {}, {}};
    rules.byFen[92] = {SimAction::Refuse, "51", "余额不足"};
    rules.byFen[93] = {SimAction::Silent, {}, {}};
    rules.byFen[94] = {SimAction::CloseMidFrame, {}, {}};
    rules.byFen[95] = {SimAction::Split, {}, {}};
    rules.byFen[96] = {SimAction::Oversize, {}, {}};
    rules.byFen[97] = {SimAction::Garbage, {}, {}};
    rules.byFen[98] = {SimAction::BadSign, {}, {}};
    rules.byFen[99] = {SimAction::NoChcd, {}, {}};
    rules.byCodePrefix["99"] = {SimAction::Refuse, "14", "付款码无效"};
    return rules;
}

SimRule SimRules::For(long long fen, const std::string& scanCode) const {
    if (always) return *always;
    for (const auto& [prefix, rule] : byCodePrefix) {
        if (scanCode.rfind(prefix, 0) == 0) return rule;
    }
    auto found = byFen.find(static_cast<int>(fen % 100));
    return found != byFen.end() ? found->second : SimRule{};
}

}  // namespace zelvo::sim
