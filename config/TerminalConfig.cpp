#include "config/TerminalConfig.h"

#include <algorithm>
#include <array>

#include "base/CodePage.h"
#include "base/Text.h"
#include "MISCIL/MisCil.h"
#include "store/CLocalDb.h"
#include "store/RowCallbacks.h"

namespace zelvo {
namespace {

ConfigLoadFailure g_failureHandler;

// No font size or line height comes near it; more digits are not read into an overflow.
constexpr int kLargestPrintMeasure = 1'000'000;

// The number its leading decimal digits make; a blank or a sign in front counts as no digit.
int LeadingDigits(const std::string& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = std::min(value * 10 + (c - '0'), kLargestPrintMeasure);
    }
    return value;
}

struct TextKey {
    const char* name;
    std::string TerminalConfig::*field;
    size_t capacity;
};

const std::array<TextKey, 13> kTextKeys{{
    {"Charset", &TerminalConfig::Charset, TerminalConfigLimits::Flag},
    {"InsCode", &TerminalConfig::InsCode, TerminalConfigLimits::InsCode},
    {"LineWide", &TerminalConfig::LineWide, TerminalConfigLimits::LineWide},
    {"MerCode", &TerminalConfig::MerCode, TerminalConfigLimits::MerCode},
    {"MerKey", &TerminalConfig::MerKey, TerminalConfigLimits::MerKey},
    {"PrintCustPage", &TerminalConfig::PrintCustPage, TerminalConfigLimits::Flag},
    {"PrintMaketing", &TerminalConfig::PrintMaketing, TerminalConfigLimits::Flag},
    {"PrintMerPage", &TerminalConfig::PrintMerPage, TerminalConfigLimits::Flag},
    {"ServerIP", &TerminalConfig::ServerIP, TerminalConfigLimits::ServerIP},
    {"ServerPort", &TerminalConfig::ServerPort, TerminalConfigLimits::ServerPort},
    {"SpacLine", &TerminalConfig::SpacLine, TerminalConfigLimits::SpacLine},
    {"TermCode", &TerminalConfig::TermCode, TerminalConfigLimits::TermCode},
    {"WaitTime", &TerminalConfig::WaitTime, TerminalConfigLimits::WaitTime},
}};

void AssignFifteenKey(TerminalConfig& config, const std::string& name, const std::string& value) {
    for (const TextKey& key : kTextKeys) {
        if (name == key.name) {
            config.*key.field = Bounded(value, key.capacity);
            return;
        }
    }
    if (name == "Currency") {
        config.Currency = GbkToUtf16(value);
    } else if (name == "MerName" && config.MerName.empty()) {
        config.MerName = Utf8ToUtf16(value);
    }
}

void LoadFifteenKeys(CLocalDb& db, TerminalConfig& config) {
    SqlRows result;
    bool ok = db.Query(
        "select Name, Value from SysConfig where Name in('InsCode', 'MerCode', 'TermCode', "
        "'MerName', 'MerKey', 'ServerIP', 'ServerPort', 'WaitTime', 'PrintMerPage', "
        "'PrintCustPage', 'PrintMaketing', 'Charset', 'SpacLine', 'LineWide', 'Currency') "
        "order by Name",
        {}, result);
    if (!ok) {
        if (g_failureHandler) g_failureHandler();
        return;
    }
    for (const auto& row : result.rows) AssignFifteenKey(config, row[0], row[1]);
}

// Runs a single-key read; true when the statement itself succeeded.
bool ReadKey(CLocalDb& db, const char* name, std::u16string& value) {
    value.clear();
    std::string sql = std::string("select Value from SysConfig where Name = '") + name + "'";
    return db.ExecuteWithCallback(sql, FirstColumnToText16, &value);
}

void LoadSingleKeys(CLocalDb& db, TerminalConfig& config) {
    std::string printName;
    if (db.ExecuteWithCallback("select Value from SysConfig where Name = 'PrintName'",
                               FirstColumnToText, &printName)) {
        config.PrintName = Utf8ToUtf16(printName);
    }
    std::u16string value;
    if (ReadKey(db, "FontSize", value)) config.FontSize = LeadingDigits(Utf16ToGbk(value));
    if (ReadKey(db, "LineHeight", value)) config.LineHeight = LeadingDigits(Utf16ToGbk(value));
    if (ReadKey(db, "SerialPort", value) && !value.empty()) config.SerialPort = value;
}

}  // namespace

MisCilCfg TerminalConfig::GatewayValues() const {
    return MisCilCfg{ServerIP, ServerPort, WaitTime, InsCode,      MerCode,      TermCode,
                     Charset,  SpacLine,   LineWide, MerKey,       MerName,      PrintMerPage,
                     PrintCustPage};
}

TerminalConfig& GetTerminalConfig() {
    static TerminalConfig config;
    return config;
}

void SetConfigLoadFailureHandler(ConfigLoadFailure handler) {
    g_failureHandler = std::move(handler);
}

void LoadTerminalConfig(CLocalDb& db, TerminalConfig& config) {
    LoadFifteenKeys(db, config);
    config.Charset = CorrectCharset(config.Charset);
    nLoadCfg(config.GatewayValues());
    LoadSingleKeys(db, config);
}

}  // namespace zelvo
