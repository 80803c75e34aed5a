#include <memory>
#include <mutex>
#include <string>

#include "MISCIL/CfgValues.h"
#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"
#include "MISCIL/MisCilConfig.h"
#include "MISCIL/MisCilContext.h"
#include "MISCIL/Timeout.h"

namespace zelvo {
namespace {

std::unique_ptr<MisCilContext> g_context;
MisCilCfg g_cfg;
MisCilSettings g_settings;
bool g_cfgLoaded = false;
std::string g_operatorId;

void UpdateProcessContext() {
    if (!g_context) return;
    g_context->cfg = g_cfg;
    g_context->settings = g_settings;
}

}  // namespace

bool MisCilCreateContext() {
    if (g_context) return false;
    g_context = std::make_unique<MisCilContext>();
    return true;
}

void MisCilDestroyContext() {
    if (!g_context) return;
    StopTimeoutMon(*g_context);
    FlushExchangeLog();
    g_context.reset();
}

MisCilContext* MisCilGetContext() {
    return g_context.get();
}

int nLoadCfg(const MisCilCfg& cfg) {
    g_cfgLoaded = true;
    OpenExchangeLog();
    g_cfg = cfg;
    MisCilSettings derived = DeriveMisCilSettings(cfg);
    if (!derived.serverPort) {
        // The port stays unusable; the other values keep what they were.
        g_settings.serverPort.reset();
        g_cfg.Charset = g_settings.charset;
        UpdateProcessContext();
        WriteLogEvent(nullptr, 1475, MisCilError::PortConfig, "服务端口 config err");
        return MisCilError::PortConfig;
    }
    g_settings = derived;
    g_cfg.Charset = derived.charset;
    UpdateProcessContext();
    return 0;
}

bool IsMisCilCfgLoaded() {
    return g_cfgLoaded;
}

const MisCilCfg& LoadedMisCilCfg() {
    return g_cfg;
}
const MisCilSettings& LoadedMisCilSettings() {
    return g_settings;
}

void MisCilSetOperatorId(std::string_view operatorId) {
    g_operatorId = std::string(operatorId.substr(0, 2));
}

const std::string& MisCilOperatorId() {
    return g_operatorId;
}

}  // namespace zelvo
