#include <gtest/gtest.h>

#include "store/CLocalDb.h"
#include "store/LocalDb.h"
#include "store/RowCallbacks.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

using test::ScopedWorkDir;

class LocalDbTest : public testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
    }
    ScopedWorkDir m_dir;
    CLocalDb m_db;
};

TEST_F(LocalDbTest, RowCallbackKeepsLastRowAndPresetWhenNoRow) {
    std::string value = "preset";
    ASSERT_TRUE(m_db.ExecuteWithCallback("select Value from SysConfig where Name = 'Missing'",
                                         FirstColumnToText, &value));
    EXPECT_EQ(value, "preset");
    ASSERT_TRUE(m_db.ExecuteWithCallback(
        "select Value from SysConfig where Name in ('LeftKey', 'RightKey') order by Name",
        FirstColumnToText, &value));
    EXPECT_EQ(value, "f2");
    ASSERT_TRUE(m_db.Execute("insert into SysConfig(Name, Value) values('NullKey', NULL)"));
    ASSERT_TRUE(m_db.ExecuteWithCallback("select Value from SysConfig where Name = 'NullKey'",
                                         FirstColumnToText, &value));
    EXPECT_EQ(value, "");
}

TEST_F(LocalDbTest, WideCallbackConvertsFromGbk) {
    ASSERT_TRUE(m_db.Execute("insert into SysConfig(Name, Value) values('Gbk', '\xD6\xD0')"));
    std::u16string value;
    ASSERT_TRUE(m_db.ExecuteWithCallback("select Value from SysConfig where Name = 'Gbk'",
                                         FirstColumnToText16, &value));
    EXPECT_EQ(value, u"中");
}

TEST_F(LocalDbTest, FailuresAnswerFalse) {
    EXPECT_FALSE(m_db.Execute(""));
    EXPECT_FALSE(m_db.Execute("select * from NoSuchTable"));
    std::string value;
    EXPECT_FALSE(m_db.ExecuteWithCallback("select 1", nullptr, &value));
    EXPECT_FALSE(m_db.Execute("insert into SysConfig(Name, Value) values('LeftKey', 'x')"));
    int rows = -1;
    ASSERT_TRUE(m_db.CountRows("select * from User", rows));
    EXPECT_EQ(rows, 3);
    m_db.FreeTable(nullptr);
}

TEST_F(LocalDbTest, GetTableGivesNamesThenRows) {
    char** table = nullptr;
    int rows = 0, columns = 0;
    ASSERT_TRUE(m_db.GetTable("select ID, PassWord from User where ID = '00'", &table, &rows,
                              &columns));
    ASSERT_EQ(rows, 1);
    ASSERT_EQ(columns, 2);
    EXPECT_STREQ(table[0], "ID");
    EXPECT_STREQ(table[2], "00");
    m_db.FreeTable(table);
}

TEST_F(LocalDbTest, BoundValuesAreNeverPartOfTheStatement) {
    const std::string hostile = "x'; delete from User; --";
    ASSERT_TRUE(m_db.Execute("update User set PassWord = ? where ID = ?", {hostile, "01"}));
    SqlRows result;
    ASSERT_TRUE(m_db.Query("select PassWord from User where ID = ?", {"01"}, result));
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0][0], hostile);
    int rows = 0;
    ASSERT_TRUE(m_db.CountRows("select * from User", rows));
    EXPECT_EQ(rows, 3);
    EXPECT_FALSE(m_db.Query("select ? , ?", {"only one"}, result));  // wrong value count
}

TEST(GetLocalDb, ReportsAnUnopenableDatabaseAndTriesAgainLater) {
    ScopedWorkDir dir;
    std::filesystem::create_directory(dir.Path() / "MISData.db");  // a folder cannot be opened
    std::u16string shown, title;
    SetLocalDbMessageSink([&](const std::u16string& text, const std::u16string& caption) {
        shown = text;
        title = caption;
    });
    EXPECT_EQ(GetLocalDb(), nullptr);
    EXPECT_EQ(shown, u"打开数据库失败，请更换目录试试！");
    EXPECT_EQ(title, u"提示框");

    std::filesystem::remove(dir.Path() / "MISData.db");
    test::MakeDeliveredDatabase(dir.Path() / "MISData.db");
    CLocalDb* db = GetLocalDb();
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(GetLocalDb(), db);
    CloseLocalDb();
    SetLocalDbMessageSink(nullptr);
}

TEST(GetLocalDb, OldLogRowsArePrunedInTheBackgroundOnTheirOwnConnection) {
    ScopedWorkDir dir;
    test::MakeDeliveredDatabase(dir.Path() / "MISData.db");
    test::RunSql(dir.Path() / "MISData.db",
                 "insert into TBL_TRANS_LOG(ORDER_NUM, SYS_DATE) values('old', '20000101');"
                 "insert into TBL_TRANS_LOG(ORDER_NUM, SYS_DATE) values('kept', '99991231');");
    CLocalDb* db = GetLocalDb();
    ASSERT_NE(db, nullptr);
    // The page's connection writes while the pruning may still run: it waits, it never fails.
    for (int i = 0; i < 50; ++i) {
        EXPECT_TRUE(db->Execute("insert into TBL_TRANS_LOG(ORDER_NUM, SYS_DATE) values(?, ?)",
                                {"new" + std::to_string(i), std::string("99991231")}));
    }
    WaitForLogPruning();
    EXPECT_EQ(test::QueryText(dir.Path() / "MISData.db",
                              "select count(*) from TBL_TRANS_LOG where ORDER_NUM = 'old'"),
              "0");
    EXPECT_EQ(test::QueryText(dir.Path() / "MISData.db", "select count(*) from TBL_TRANS_LOG"),
              "51");
    CloseLocalDb();
}

TEST(GetLocalDb, MissingFileIsReportedAndNeverCreated) {
    ScopedWorkDir dir;
    std::u16string shown;
    SetLocalDbMessageSink([&](const std::u16string& text, const std::u16string&) { shown = text; });
    EXPECT_EQ(GetLocalDb(), nullptr);
    EXPECT_EQ(shown, u"打开数据库失败，请更换目录试试！");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "MISData.db"));
    CLocalDb db;
    EXPECT_FALSE(db.Open(u"MISData.db"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "MISData.db"));
    SetLocalDbMessageSink(nullptr);
}

}  // namespace
}  // namespace zelvo
