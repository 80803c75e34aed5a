#include "BenchDatabase.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include <sqlite3.h>

namespace zelvo::bench {
namespace {

void Check(int rc, sqlite3* db, const char* what) {
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
    std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
    std::exit(1);
}

void Exec(sqlite3* db, const std::string& sql) {
    Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, sql.c_str());
}

std::string DeliveredSql() {
    std::ifstream in(std::filesystem::path(ZELVO_SOURCE_DIR) / "data" / "MISData.sql");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

sqlite3* OpenFile(const std::filesystem::path& path) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        std::exit(1);
    }
    return db;
}

// Day `day` after 1 July 2026 (the 160 days up to 7 December).
void DateOf(int day, int& month, int& dayOfMonth) {
    static const int kDays[] = {31, 31, 30, 31, 30, 31};
    month = 7;
    while (day >= kDays[month - 7]) {
        day -= kDays[month - 7];
        ++month;
    }
    dayOfMonth = day + 1;
}

}  // namespace

void MakeLogDatabase(const std::filesystem::path& path, int rows, double oldShare) {
    std::filesystem::remove(path);
    sqlite3* db = OpenFile(path);
    Exec(db, DeliveredSql());
    Exec(db, "begin");
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db,
                             "insert into TBL_TRANS_LOG(REC_CREATE_TIME, TRANS_CODE, PROCESS_FLAG, "
                             "REV_FLAG, ORIG_ORDER_NUM, ORDER_NUM, OPER_ID, TRANS_AMT, "
                             "ACCEPT_INS_CODE, RESP_CODE, SYS_DATE, ACCT_ID, SA_SAV1, SETTLE_TYPE) "
                             "values(?, ?, '0', ?, ?, ?, ?, ?, ?, '00', ?, ?, ?, ?)",
                             -1, &insert, nullptr),
          db, "prepare");
    static const char* kChannels[] = {"WXP", "ALP", "YZF", "QQP", "BDP", "JDP", "YDP", "YLP"};
    constexpr int kOperators = 10;
    constexpr long long kJulySeconds = 31 * 86400;
    constexpr long long kLaterSeconds = 129 * 86400;
    const int julyRows = std::clamp(static_cast<int>(rows * oldShare), 1, rows - 1);
    std::mt19937 random(20261207);
    for (int i = 0; i < rows; ++i) {
        // Rows are written in time order, as a till writes them.
        const long long second =
            i < julyRows ? i * kJulySeconds / julyRows
                         : kJulySeconds + (i - julyRows) * kLaterSeconds / (rows - julyRows);
        int month = 0;
        int day = 0;
        DateOf(static_cast<int>(second / 86400), month, day);
        char time[32];
        char date[24];
        char order[32];
        char operatorId[4];
        std::snprintf(time, sizeof time, "2026-%02d-%02d %02lld:%02lld:%02lld", month, day,
                      second % 86400 / 3600, second % 3600 / 60, second % 60);
        std::snprintf(date, sizeof date, "2026%02d%02d", month, day);
        std::snprintf(order, sizeof order, "2026%02d%02d%06lld%06d", month, day, second % 86400,
                      i % 1000000);
        std::snprintf(operatorId, sizeof operatorId, "%02d", i % kOperators);
        const bool refund = random() % 20 == 0;
        const double amount = static_cast<double>(random() % 50000 + 1) / 100.0;
        const bool unsettled = i >= rows - 2000 * kOperators;
        sqlite3_bind_text(insert, 1, time, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, refund ? "REFD" : "PURC", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, refund ? "3" : "0", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, refund ? order : "", -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, order, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 6, operatorId, -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 7, refund ? -amount : amount);
        sqlite3_bind_text(insert, 8, kChannels[random() % 8], -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 9, date, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 10, "6222****1234", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 11, order, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 12, unsettled ? "0" : "1", -1, SQLITE_STATIC);
        Check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Exec(db, "commit");
    sqlite3_close(db);
}

void CopyWithoutIndexes(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::remove(to);
    sqlite3* db = OpenFile(from);
    Exec(db, "vacuum into '" + to.string() + "'");
    sqlite3_close(db);
    db = OpenFile(to);
    for (const char* index : {"IX_TRANS_LOG_TIME", "IX_TRANS_LOG_ORDER", "IX_TRANS_LOG_ORIG_ORDER",
                              "IX_TRANS_LOG_SETTLE", "IX_TRANS_LOG_SYS_DATE"}) {
        Exec(db, std::string("drop index ") + index);
    }
    Exec(db, "vacuum");
    sqlite3_close(db);
}

}  // namespace zelvo::bench
