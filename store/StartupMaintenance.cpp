#include "store/StartupMaintenance.h"

#include <array>
#include <utility>

#include "store/CLocalDb.h"

namespace zelvo {
namespace {

void MigrateHotKey(CLocalDb& db, const std::string& name) {
    SqlRows result;
    if (!db.Query("select Value from SysConfig where Name = ?", {name}, result)) return;
    std::string value = result.rows.empty() ? std::string() : result.rows.back()[0];
    if (value.find('+') != std::string::npos) return;
    db.Execute("update SysConfig set Value = ? where Name = ?", {"ctrl+" + value, name});
}

}  // namespace

std::string PruneCutoff(const LocalTime& today) {
    int month = today.month - 4;
    int year = today.year;
    if (month < 1) {
        month += 12;
        --year;
    }
    return FormatLocalTime(LocalTime{year, month, 1}, "%Y%m%d");
}

void RunStartupMaintenance(CLocalDb& db, const Clock& clock) {
    // The cut-off is made here from numbers alone, so it is safe to place unquoted.
    db.Execute("delete from TBL_TRANS_LOG where SYS_DATE < " + PruneCutoff(clock.Now()));
    MigrateHotKey(db, "ShowKey");
    MigrateHotKey(db, "HideKey");
    static const std::array<std::pair<const char*, const char*>, 6> kDefaults{{
        {"LeftKey", "f1"},
        {"RightKey", "f2"},
        {"RepealKey", "f3"},
        {"SettleKey", "f4"},
        {"PrintName", ""},
        {"CutRect", ""},
    }};
    for (const auto& [name, value] : kDefaults) {
        db.Execute("Insert into SysConfig(Name, Value) values(?, ?)",
                   {std::string(name), std::string(value)});
    }
}

}  // namespace zelvo
