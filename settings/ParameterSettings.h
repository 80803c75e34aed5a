#pragma once

#include <functional>
#include <string>
#include <vector>

#include "settings/SettingsForm.h"

namespace zelvo {

class CLocalDb;
class SettingsView;
struct TerminalConfig;

// The parameter settings: what the page starts with, and the administrator's save.
class ParameterSettings {
public:
    using OperatorIdSource = std::function<std::string()>;
    using Restarter = std::function<void()>;

    ParameterSettings(SettingsView& view, CLocalDb* db, OperatorIdSource operatorId,
                      Restarter restart);

    // The values the page opens with: the loaded configuration, and the hot keys and printer
    // read from SysConfig (an unreadable key leaves its box empty).
    static SettingsForm LoadForm(CLocalDb* db, const TerminalConfig& config);

    // Checks the form and writes all seventeen values in one transaction; a complete save
    // restarts the program so that start-up loads the new configuration.
    void Save();

private:
    bool CheckForm(SettingsForm& form);
    bool WriteAll(const SettingsForm& form);

    SettingsView& m_view;
    CLocalDb* m_db;
    OperatorIdSource m_operatorId;
    Restarter m_restart;
};

}  // namespace zelvo
