#include "tools/zelvo-mis/MisCommand.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "config/MisCilHolder.h"
#include "base/CodePage.h"
#include "MISCIL/FieldTables.h"
#include "MISCIL/MisCil.h"
#include "store/LocalDb.h"
#include "tools/zelvo-mis/PayCommand.h"

namespace zelvo {
namespace {

constexpr const char* kUsage =
    "usage: zelvo-mis exchange [--operator ID]\n"
    "  Reads one fixed-width request (GBK) from standard input, exchanges it with the gateway\n"
    "  configured in ./MISData.db and writes the 1507-character answer to standard output.\n"
    "  On failure it writes \"error N\" to standard error and exits 1.\n"
    "usage: zelvo-mis pay --amount A --code C [--operator ID] [--query-interval S]\n"
    "  Takes a whole payment as the payment page does, with ./MISData.db and its journal;\n"
    "  prints \"paid ORDER\" (exit 0), \"not paid [ORDER]\" (exit 1) or \"unknown ORDER\"\n"
    "  (exit 2). While the customer is still paying it asks every S seconds (default 5) up\n"
    "  to WaitTime, then cancels.\n"
    "usage: zelvo-mis reconcile\n"
    "  Finishes the orders ./MISData.db holds open, one line per order; exit 0 when none is\n"
    "  left open, 2 when some are.\n";

// Seconds with an optional fraction, from 0.05 (the gateway is not to be flooded) to an hour.
std::optional<std::chrono::milliseconds> ParseInterval(const std::string& text) {
    if (text.empty() || text.size() > 8 ||
        text.find_first_not_of("0123456789.") != std::string::npos) {
        return std::nullopt;
    }
    const double seconds = std::strtod(text.c_str(), nullptr);
    if (!(seconds >= 0.05 && seconds <= 3600.0)) return std::nullopt;
    return std::chrono::milliseconds(static_cast<long long>(seconds * 1000.0));
}

// The options of `pay`; none when one is wrong or a required one is missing.
std::optional<PayOptions> ParsePayOptions(int argc, char** argv) {
    PayOptions options;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const std::string value = argv[i + 1];
        if (option == "--amount") {
            options.amount = value;
        } else if (option == "--code") {
            options.code = value;
        } else if (option == "--operator") {
            options.operatorId = value;
        } else if (option == "--query-interval" && ParseInterval(value)) {
            options.queryInterval = *ParseInterval(value);
        } else {
            return std::nullopt;
        }
    }
    if (argc % 2 != 0 || options.amount.empty() || options.code.empty()) return std::nullopt;
    return options;
}

// A till program sends at most one request; anything longer than a full buffer is not one.
constexpr size_t kMaxInput = 4096;

}  // namespace

int RunMisExchange(std::istream& in, std::ostream& out, std::ostream& err) {
    std::string request;
    char c;
    while (request.size() < kMaxInput && in.get(c)) request += c;
    while (!request.empty() && (request.back() == '\n' || request.back() == '\r')) {
        request.pop_back();
    }
    // Without the till's database there is no gateway to talk to; nothing is written then.
    SetLocalDbMessageSink([&err](const std::u16string& text, const std::u16string&) {
        err << Utf16ToUtf8(text) << '\n';
    });
    const bool haveDatabase = GetLocalDb() != nullptr;
    SetLocalDbMessageSink(nullptr);
    if (!haveDatabase) return 1;
    MisCilHolder holder;
    if (MisCilExchange(request.c_str()) != 1) {
        err << "error " << MisCilLastError() << '\n';
        return 1;
    }
    out.write(MisCilGetContext()->misRsp.text, static_cast<std::streamsize>(kMisResponseLength));
    out.flush();
    return 0;
}

// The options of `exchange`; false when one is wrong.
bool ApplyExchangeOptions(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        std::string option = argv[i];
        if (option != "--operator" || i + 1 >= argc) return false;
        MisCilSetOperatorId(argv[++i]);
    }
    return true;
}

int RunMisCommand(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
    const std::string command = argc >= 2 ? argv[1] : "";
    std::optional<PayOptions> payOptions;
    if (command == "pay") payOptions = ParsePayOptions(argc, argv);
    const bool understood = (command == "pay" && payOptions) ||
                            (command == "reconcile" && argc == 2) ||
                            (command == "exchange" && ApplyExchangeOptions(argc, argv));
    if (!understood) {
        err << kUsage;
        return 2;
    }
    int rc = payOptions              ? RunMisPay(*payOptions, out, err)
             : command == "reconcile" ? RunMisReconcile(out, err)
                                      : RunMisExchange(in, out, err);
    CloseLocalDb();
    return rc;
}

}  // namespace zelvo
