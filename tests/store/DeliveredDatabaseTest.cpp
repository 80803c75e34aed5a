#include <gtest/gtest.h>

#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

class DeliveredDatabaseTest : public testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
    }
    std::string Plan(const std::string& sql) {
        SqlRows result;
        EXPECT_TRUE(m_db.Query("explain query plan " + sql, {}, result)) << sql;
        std::string plan;
        for (const auto& row : result.rows) plan += row.back() + "\n";
        return plan;
    }
    test::ScopedWorkDir m_dir;
    CLocalDb m_db;
};

TEST_F(DeliveredDatabaseTest, HoldsEveryConfigurationKeyOnce) {
    for (const char* key :
         {"InsCode", "MerCode", "TermCode", "MerName", "MerKey", "ServerIP", "ServerPort",
          "WaitTime", "PrintMerPage", "PrintCustPage", "PrintMaketing", "Charset", "SpacLine",
          "LineWide", "Currency", "PrintName", "FontSize", "LineHeight", "SerialPort",
          "UpdateServer", "TitleName", "StatusName", "WelComeName", "OpencvFlag", "ShowKey",
          "HideKey", "LeftKey", "RightKey", "RepealKey", "SettleKey", "CutRect"}) {
        int rows = 0;
        ASSERT_TRUE(
            m_db.CountRows(std::string("select * from SysConfig where Name = '") + key + "'", rows));
        EXPECT_EQ(rows, 1) << key;
    }
    SqlRows result;
    ASSERT_TRUE(m_db.Query("select Value from SysConfig where Name in ('MerCode', 'TermCode', "
                           "'MerKey') order by Name",
                           {}, result));
    EXPECT_EQ(result.rows[0][0].size(), 15u);
    EXPECT_EQ(result.rows[1][0].size(), 32u);
    EXPECT_EQ(result.rows[2][0].size(), 8u);
}

TEST_F(DeliveredDatabaseTest, InsertWithoutSettleTypeDefaultsToUnsettled) {
    ASSERT_TRUE(m_db.Execute(
        "insert into TBL_TRANS_LOG(ORDER_NUM, TRANS_AMT, SYS_DATE) values('1', 12.30, '20160301')"));
    SqlRows result;
    ASSERT_TRUE(m_db.Query("select SETTLE_TYPE, TRANS_AMT from TBL_TRANS_LOG", {}, result));
    EXPECT_EQ(result.rows[0][0], "0");
    EXPECT_EQ(result.rows[0][1], "12.3");
}

TEST_F(DeliveredDatabaseTest, SysDateComparesWithAnUnquotedNumberAsADate) {
    ASSERT_TRUE(m_db.Execute("insert into TBL_TRANS_LOG(ORDER_NUM, SYS_DATE) values"
                             "('old', '20151031'), ('new', '20151101')"));
    ASSERT_TRUE(m_db.Execute("delete from TBL_TRANS_LOG where SYS_DATE < 20151101"));
    int rows = 0;
    ASSERT_TRUE(m_db.CountRows("select * from TBL_TRANS_LOG where ORDER_NUM = 'new'", rows));
    EXPECT_EQ(rows, 1);
    ASSERT_TRUE(m_db.CountRows("select * from TBL_TRANS_LOG", rows));
    EXPECT_EQ(rows, 1);
}

TEST_F(DeliveredDatabaseTest, HotStatementsUseAnIndex) {
    EXPECT_NE(Plan("select REC_CREATE_TIME, PROCESS_FLAG, OPER_ID, ORDER_NUM, TRANS_AMT, "
                   "ACCEPT_INS_CODE, TRANS_CODE, RESP_CODE, REV_FLAG, ORIG_ORDER_NUM from "
                   "TBL_TRANS_LOG order by REC_CREATE_TIME desc")
                  .find("USING INDEX IX_TRANS_LOG_TIME"),
              std::string::npos);
    EXPECT_NE(Plan("select ACCT_ID, SA_SAV1 from TBL_TRANS_LOG where ORDER_NUM = '1'")
                  .find("USING INDEX IX_TRANS_LOG_ORDER"),
              std::string::npos);
    EXPECT_NE(Plan("select ACCT_ID, SA_SAV1, ORDER_NUM from TBL_TRANS_LOG where ORIG_ORDER_NUM "
                   "= '1' and REC_CREATE_TIME = '2016-03-01 10:00:00'")
                  .find("USING INDEX IX_TRANS_LOG_ORIG_ORDER"),
              std::string::npos);
    EXPECT_NE(Plan("select TRANS_AMT, ACCEPT_INS_CODE, REV_FLAG from TBL_TRANS_LOG where "
                   "PROCESS_FLAG = '0' and SETTLE_TYPE = '0' and OPER_ID = '01'")
                  .find("USING INDEX IX_TRANS_LOG_SETTLE"),
              std::string::npos);
    EXPECT_NE(Plan("update TBL_TRANS_LOG set SETTLE_TYPE = '1' where OPER_ID = '01'")
                  .find("USING INDEX IX_TRANS_LOG_SETTLE"),
              std::string::npos);
    EXPECT_NE(Plan("delete from TBL_TRANS_LOG where SYS_DATE < 20151101")
                  .find("USING INDEX IX_TRANS_LOG_SYS_DATE"),
              std::string::npos);
}

}  // namespace
}  // namespace zelvo
