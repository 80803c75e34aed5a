#include "tests/fuzz/FuzzSetup.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "MISCIL/ExchangeLog.h"
#include "MISCIL/FieldTables.h"
#include "MISCIL/MisCil.h"

namespace zelvo::fuzz {
namespace {

MisCilContext& Configured() {
    static MisCilContext* context = [] {
        std::filesystem::path dir = std::filesystem::temp_directory_path() / "zelvo-fuzz";
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        MisCilCfg cfg;
        cfg.ServerIP = "127.0.0.1";
        cfg.ServerPort = "9";
        cfg.WaitTime = "1";
        cfg.InsCode = "48020000";
        cfg.MerCode = "898310060110001";
        cfg.TermCode = "10000001";
        cfg.Charset = "1";
        cfg.MerKey = "Zelvo0123456789abcdefDEMOKEY2026";
        nLoadCfg(cfg);
        // Every rejected input logs an event: millions of them must not fill the disk.
        CloseExchangeLog();
        if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
        auto* created = new MisCilContext();
        InitFieldTables(*created);
        return created;
    }();
    return *context;
}

}  // namespace

MisCilContext& FreshContext() {
    MisCilContext& context = Configured();
    ClearExchangeState(context);
    return context;
}

}  // namespace zelvo::fuzz
