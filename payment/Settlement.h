#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace zelvo {

class CLocalDb;
class SettlementView;
struct TerminalConfig;

inline constexpr char16_t kWrongPasswordText[] = u"密码错误，结算失败！";
inline constexpr char16_t kSettlementFailedText[] = u"结算失败！";
inline constexpr char16_t kPrintFileFailedText[] = u"打印文件失败！";
inline constexpr char16_t kMarkFailedText[] = u"修改数据失败！";
inline constexpr char16_t kSettledText[] = u"结算成功！";

// The logged-in operator, 8-bit as stored.
struct SettlingOperator {
    std::string id;
    std::string password;
};

// Closes the logged-in operator's shift: sums the successful unsettled rows per channel,
// prints the settlement bill and marks the operator's rows settled.
class Settlement {
public:
    Settlement(std::function<CLocalDb*()> database, const TerminalConfig& config,
               std::function<SettlingOperator()> currentOperator, SettlementView& view,
               std::filesystem::path billFile = "SCprint.txt");

    // Runs with the password entered in the prompt.
    void SettleOperator(const std::u16string& password);

private:
    std::function<CLocalDb*()> m_database;
    const TerminalConfig& m_config;
    std::function<SettlingOperator()> m_currentOperator;
    SettlementView& m_view;
    std::filesystem::path m_billFile;
};

// The entered password against the login password, ignoring the case of Latin letters.
bool SettlementPasswordMatches(const std::u16string& entered, const std::string& loginPassword);

}  // namespace zelvo
