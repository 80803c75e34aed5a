#include "store/StartupMaintenance.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <tuple>

#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

using test::QueryText;
using test::RunSql;

class StartupMaintenanceTest : public testing::Test {
protected:
    void SetUp() override { test::MakeDeliveredDatabase(DbPath()); }
    std::filesystem::path DbPath() const { return m_dir.Path() / "MISData.db"; }

    void RunOn(LocalTime today) {
        CLocalDb db;
        ASSERT_TRUE(db.Open(u"MISData.db"));
        RunStartupMaintenance(db);
        m_pruned = PruneOldLogRows(db, today);
    }
    void AddLogRow(const std::string& order, const std::string& sysDate) {
        RunSql(DbPath(), "insert into TBL_TRANS_LOG(ORDER_NUM, SYS_DATE) values('" + order +
                             "', '" + sysDate + "')");
    }
    std::string Orders() {
        return QueryText(DbPath(),
                         "select group_concat(ORDER_NUM, ',') from (select ORDER_NUM from "
                         "TBL_TRANS_LOG order by ORDER_NUM)");
    }
    std::string Config(const std::string& name) {
        return QueryText(DbPath(), "select Value from SysConfig where Name = '" + name + "'");
    }

    test::ScopedWorkDir m_dir;
    bool m_pruned = false;
};

TEST_F(StartupMaintenanceTest, CutOffIsFirstOfTheMonthFourMonthsBack) {
    EXPECT_EQ(PruneCutoff({2016, 3, 15}), "20151101");
    EXPECT_EQ(PruneCutoff({2016, 5, 31}), "20160101");
    EXPECT_EQ(PruneCutoff({2017, 1, 1}), "20160901");
    EXPECT_EQ(PruneCutoff({2016, 12, 31}), "20160801");
}

TEST_F(StartupMaintenanceTest, OrderJournalIsAddedToAnOlderDatabaseAndKeepsOpenRows) {
    ASSERT_EQ(QueryText(DbPath(), "select count(*) from sqlite_master where name = "
                                  "'TBL_ORDER_JOURNAL'"),
              "0");
    RunOn({2016, 3, 15});
    const char* insert =
        "insert into TBL_ORDER_JOURNAL(ORDER_NUM, TRANS_CODE, TRANS_AMT_TEXT, SENT_TIME, "
        "SYS_DATE, STATE) values('%s', 'PURC', '1', '', '%s', '%s')";
    for (auto [order, date, state] : {std::tuple{"old-open", "20150101", "open"},
                                      std::tuple{"old-paid", "20150101", "paid"},
                                      std::tuple{"new-paid", "20160301", "paid"}}) {
        char sql[256];
        std::snprintf(sql, sizeof sql, insert, order, date, state);
        RunSql(DbPath(), sql);
    }
    // A second start keeps the table, prunes old closed rows and never an open one.
    RunOn({2016, 3, 16});
    EXPECT_EQ(QueryText(DbPath(), "select group_concat(ORDER_NUM, ',') from (select ORDER_NUM "
                                  "from TBL_ORDER_JOURNAL order by ORDER_NUM)"),
              "new-paid,old-open");
}

TEST_F(StartupMaintenanceTest, PrunesRowsBeforeTheCutOffOnly) {
    AddLogRow("a", "20151031");
    AddLogRow("b", "20151101");
    AddLogRow("c", "20160315");
    RunOn({2016, 3, 15});
    EXPECT_EQ(Orders(), "b,c");

    AddLogRow("d", "20151231");
    RunOn({2016, 5, 31});
    EXPECT_EQ(Orders(), "c");
}

TEST_F(StartupMaintenanceTest, PruningGoesOnPastOneBatch) {
    std::string rows = "begin;";
    for (int i = 0; i < 10000; ++i) {
        rows += "insert into TBL_TRANS_LOG(ORDER_NUM, SYS_DATE) values('old" + std::to_string(i) +
                "', '20151031');";
    }
    RunSql(DbPath(), rows + "commit;");
    AddLogRow("new", "20151101");
    RunOn({2016, 3, 15});
    EXPECT_TRUE(m_pruned);
    EXPECT_EQ(Orders(), "new");
}

TEST_F(StartupMaintenanceTest, PrunesAcrossTheYearInJanuary) {
    AddLogRow("a", "20160831");
    AddLogRow("b", "20160901");
    RunOn({2017, 1, 10});
    EXPECT_EQ(Orders(), "b");
}

TEST_F(StartupMaintenanceTest, SingleHotKeysBecomeCtrlCombinations) {
    RunSql(DbPath(), "update SysConfig set Value = 'f9' where Name = 'ShowKey';"
                     "update SysConfig set Value = 'alt+h' where Name = 'HideKey';");
    RunOn({2016, 3, 15});
    EXPECT_EQ(Config("ShowKey"), "ctrl+f9");
    EXPECT_EQ(Config("HideKey"), "alt+h");
    RunOn({2016, 3, 15});
    EXPECT_EQ(Config("ShowKey"), "ctrl+f9");
}

TEST_F(StartupMaintenanceTest, EmptyHotKeyBecomesCtrlPlusAndMissingStaysMissing) {
    RunSql(DbPath(), "update SysConfig set Value = '' where Name = 'ShowKey';"
                     "delete from SysConfig where Name = 'HideKey';");
    RunOn({2016, 3, 15});
    EXPECT_EQ(Config("ShowKey"), "ctrl+");
    EXPECT_EQ(Config("HideKey"), "<none>");
}

TEST_F(StartupMaintenanceTest, DefaultRowsAreAddedOnceAndKeepTheOperatorsValues) {
    RunSql(DbPath(), "delete from SysConfig where Name in ('LeftKey', 'RightKey', 'RepealKey', "
                     "'SettleKey', 'PrintName', 'CutRect')");
    RunOn({2016, 3, 15});
    EXPECT_EQ(Config("LeftKey"), "f1");
    EXPECT_EQ(Config("SettleKey"), "f4");
    EXPECT_EQ(Config("PrintName"), "");
    EXPECT_EQ(Config("CutRect"), "");

    RunSql(DbPath(), "update SysConfig set Value = 'left' where Name = 'LeftKey';"
                     "update SysConfig set Value = 'a' where Name = 'RepealKey';"
                     "update SysConfig set Value = '10,20,110,60' where Name = 'CutRect';");
    RunOn({2016, 3, 16});
    EXPECT_EQ(Config("LeftKey"), "left");
    EXPECT_EQ(Config("RightKey"), "f2");
    EXPECT_EQ(Config("RepealKey"), "a");
    EXPECT_EQ(Config("CutRect"), "10,20,110,60");
    EXPECT_EQ(QueryText(DbPath(), "select count(*) from SysConfig where Name = 'LeftKey'"), "1");
}

TEST_F(StartupMaintenanceTest, EmptyDatabaseIsLeftAlone) {
    std::ofstream(DbPath(), std::ios::trunc).close();  // a file without tables
    RunOn({2016, 3, 15});
    EXPECT_FALSE(m_pruned);
    EXPECT_EQ(QueryText(DbPath(), "select count(*) from sqlite_master"), "0");
}

}  // namespace
}  // namespace zelvo
