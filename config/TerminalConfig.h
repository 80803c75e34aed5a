#pragma once

#include <functional>
#include <string>

#include "MISCIL/CfgValues.h"

namespace zelvo {

class CLocalDb;

// Capacities of the fixed-size fields; longer stored values are cut to them.
namespace TerminalConfigLimits {
inline constexpr size_t InsCode = 11;
inline constexpr size_t MerCode = 15;
inline constexpr size_t TermCode = 8;
inline constexpr size_t MerKey = 32;
inline constexpr size_t ServerIP = 64;
inline constexpr size_t ServerPort = 5;
inline constexpr size_t WaitTime = 3;
inline constexpr size_t Flag = 1;
inline constexpr size_t SpacLine = 2;
inline constexpr size_t LineWide = 2;
}  // namespace TerminalConfigLimits

// Merchant, terminal, gateway and printing settings, each field named after its SysConfig key.
struct TerminalConfig {
    std::string InsCode;
    std::string MerCode;
    std::string TermCode;
    std::string MerKey;
    std::string ServerIP;
    std::string ServerPort;
    std::string WaitTime;
    std::string PrintMerPage;
    std::string PrintCustPage;
    std::string PrintMaketing;
    std::string Charset = "1";
    std::string SpacLine;
    std::string LineWide;
    std::u16string Currency = u"CNY";
    std::u16string MerName;
    std::u16string PrintName;
    int FontSize = 20;
    int LineHeight = 0;
    std::u16string SerialPort = u"LPT1:";

    // The values the gateway library takes from this record.
    MisCilCfg GatewayValues() const;
};

// The process-wide record; written at start-up, read-only once exchanges may run.
TerminalConfig& GetTerminalConfig();

// Called when the fifteen-key statement fails (the application shows "初始化数据失败！" and
// asks the active window to close); loading then goes on as if no rows had come back.
using ConfigLoadFailure = std::function<void()>;
void SetConfigLoadFailureHandler(ConfigLoadFailure handler);

// Fills `config` from SysConfig. Values are assigned by key name, so a missing key leaves its
// field as it was instead of shifting the others.
void LoadTerminalConfig(CLocalDb& db, TerminalConfig& config);

}  // namespace zelvo
