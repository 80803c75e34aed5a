#pragma once

#include <string>

#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo::test {

// One TBL_TRANS_LOG row as the payment operations write it; 8-bit values.
struct LogRow {
    std::string time = "2026-03-15 10:00:00";
    std::string processFlag = "0";
    std::string revFlag = "0";
    std::string orderNum = "20260315100000000001";
    std::string operatorId = "01";
    double amount = 12.50;
    std::string channel = "WXP";
    std::string respCode = "00";
    std::string origOrderNum;
    std::string settleType = "0";
};

void InsertLogRow(CLocalDb& db, const LogRow& row);

// A delivered MISData.db in a fresh working folder, open.
class LogDatabase {
public:
    LogDatabase();
    CLocalDb& Db() { return m_db; }
    std::string Text(const std::string& sql) { return QueryText(m_dir.Path() / "MISData.db", sql); }

private:
    ScopedWorkDir m_dir;
    CLocalDb m_db;
};

}  // namespace zelvo::test
