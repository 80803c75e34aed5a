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

void CreateOrderJournal(CLocalDb& db) {
    // One row per purchase or refund sent, written before the request leaves; databases made
    // before the journal existed get the table here. A file that is no database of ours (no
    // log table) is left alone.
    SqlRows logTable;
    if (!db.Query("select name from sqlite_master where type = 'table' and name = ?",
                  {std::string("TBL_TRANS_LOG")}, logTable) ||
        logTable.rows.empty()) {
        return;
    }
    db.Execute(
        "create table if not exists TBL_ORDER_JOURNAL("
        "ORDER_NUM varchar(64) primary key, TRANS_CODE varchar(4) not null, "
        "TRANS_AMT_TEXT varchar(16) not null, PAY_CODE varchar(32) not null default '', "
        "ORIG_ORDER_NUM varchar(64) not null default '', OPER_ID varchar(16) not null default '', "
        "SENT_TIME varchar(19) not null, SYS_DATE varchar(8) not null default '', "
        "OWNER_PID integer not null default 0, "
        "STATE varchar(10) not null default 'open', CLOSED_TIME varchar(19) not null default '')");
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
    // Open rows are kept whatever their age: their outcome is still unknown.
    return db.Execute("delete from TBL_ORDER_JOURNAL where STATE <> 'open' and SYS_DATE < " +
                      PruneCutoff(today));
}

void RunStartupMaintenance(CLocalDb& db) {
    CreateOrderJournal(db);
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
