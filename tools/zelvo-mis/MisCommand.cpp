#include "tools/zelvo-mis/MisCommand.h"

#include <iostream>
#include <iterator>
#include <string>

#include "app/config/MisCilHolder.h"
#include "base/CodePage.h"
#include "MISCIL/FieldTables.h"
#include "MISCIL/MisCil.h"
#include "store/LocalDb.h"

namespace zelvo {
namespace {

constexpr const char* kUsage =
    "usage: zelvo-mis exchange [--operator ID]\n"
    "  Reads one fixed-width request (GBK) from standard input, exchanges it with the gateway\n"
    "  configured in ./MISData.db and writes the 1507-character answer to standard output.\n"
    "  On failure it writes \"error N\" to standard error and exits 1.\n";

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

int RunMisCommand(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
    if (argc < 2 || std::string(argv[1]) != "exchange") {
        err << kUsage;
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        std::string option = argv[i];
        if (option == "--operator" && i + 1 < argc) {
            MisCilSetOperatorId(argv[++i]);
        } else {
            err << kUsage;
            return 2;
        }
    }
    int rc = RunMisExchange(in, out, err);
    CloseLocalDb();
    return rc;
}

}  // namespace zelvo
