#pragma once

#include <optional>
#include <string>

#include "tools/gateway-sim/SimRules.h"

namespace zelvo::sim {

inline constexpr int kDefaultPort = 17601;
inline constexpr const char* kDefaultKey = "Zelvo0123456789abcdefDEMOKEY2026";

struct SimOptions {
    int port = kDefaultPort;  // 0: any free port (printed at start)
    std::string key = kDefaultKey;
    std::string charset = "1";  // "1" UTF-8, "2" GBK
    SimRules rules = SimRules::Defaults();
    std::string bookFile;  // empty: the order book is not written
    bool help = false;
};

// The command line; none (with `error` set) when an option is wrong.
std::optional<SimOptions> ParseSimOptions(int argc, char** argv, std::string& error);

const char* SimUsage();

}  // namespace zelvo::sim
