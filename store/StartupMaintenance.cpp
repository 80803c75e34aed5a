#include "store/StartupMaintenance.h"

#include <array>
#include <utility>

#include "store/CLocalDb.h"

namespace zelvo {
namespace {

// Rows deleted per transaction: each commit costs a sync, each batch holds the database.
constexpr int kPruneBatchRows = 16384;
constexpr int kPruneCacheKiB = 32 * 1024;

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

bool PruneOldLogRows(CLocalDb& db, const LocalTime& today) {
    // The cut-off is made here from numbers alone, so it is safe to place unquoted; it must stay
    // an unquoted number for the comparison to treat SYS_DATE as a date.
    const std::string statement =
        "delete from TBL_TRANS_LOG where rowid in (select rowid from TBL_TRANS_LOG where "
        "SYS_DATE < " +
        PruneCutoff(today) + " limit " + std::to_string(kPruneBatchRows) + ")";
    // The deleted rows' index entries lie all over the indexes: a cache that holds them spares
    // reading the same pages again for every batch.
    db.Execute("pragma cache_size = -" + std::to_string(kPruneCacheKiB));
    do {
        if (!db.Execute(statement)) return false;
    } while (db.ChangedRows() > 0);
    return true;
}

void RunStartupMaintenance(CLocalDb& db) {
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
