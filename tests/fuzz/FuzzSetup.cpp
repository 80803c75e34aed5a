#include "tests/fuzz/FuzzSetup.h"

#include <cstdio>
#include <cstdlib>

#include "MISCIL/FieldTables.h"
#include "MISCIL/MisCil.h"

namespace zelvo::fuzz {
namespace {

MisCilContext& Configured() {
    static MisCilContext* context = [] {
        MisCilCfg cfg;
        cfg.ServerIP = "127.0.0.1";
        cfg.ServerPort = "9";
        cfg.WaitTime = "1";
        cfg.InsCode = "48020000";
        cfg.MerCode = "898310060110001";
        cfg.TermCode = "10000001";
        cfg.Charset = "1";
        cfg.MerKey = "Zelvo0123456789abcdefDEMOKEY2026";
        // Every rejected input logs an event: with no log file open they go to standard output,
        // and millions of them must not fill the disk.
        if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
        auto* created = new MisCilContext();
        created->cfg = cfg;
        created->settings = DeriveMisCilSettings(cfg);
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
