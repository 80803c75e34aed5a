#include "config/MisCilHolder.h"

#include <cstring>

#include "config/TerminalConfig.h"
#include "MISCIL/MisCil.h"
#include "store/LocalDb.h"

namespace zelvo {
namespace {

// Holders live on the user-interface thread only.
int g_holderCount = 0;

}  // namespace

MisCilHolder::MisCilHolder() {
    ++g_holderCount;
    if (MisCilCreateContext()) {
        TerminalConfig& config = GetTerminalConfig();
        if (CLocalDb* db = GetLocalDb()) {
            LoadTerminalConfig(*db, config);
        } else {
            // Without a database the library still opens its log and knows it has no port.
            nLoadCfg(config.GatewayValues());
        }
    }
    ClearRequest();
}

MisCilHolder::~MisCilHolder() {
    // The context is shared by every page: it goes with the last holder, not the first.
    if (--g_holderCount == 0) MisCilDestroyContext();
}

void MisCilHolder::ClearRequest() {
    std::memset(m_request, 0, sizeof m_request);
}

}  // namespace zelvo
