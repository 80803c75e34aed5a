#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "payment/MessageKind.h"
#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo::test {

// A delivered database in a fresh folder, open for the logic under test.
class DeliveredDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_dir.Path() / "MISData.db";
        MakeDeliveredDatabase(m_path);
        ASSERT_TRUE(m_db.Open(m_path.u16string()));
    }
    void Sql(const std::string& sql) { ASSERT_TRUE(m_db.Execute(sql)) << sql; }
    std::string StoredPassword(const std::string& id) {
        SqlRows rows;
        EXPECT_TRUE(m_db.Query("select PassWord from User where ID = ?", {id}, rows));
        return rows.rows.empty() ? "<none>" : rows.rows.back()[0];
    }

    ScopedWorkDir m_dir;
    std::filesystem::path m_path;
    CLocalDb m_db;
};

struct ShownMessage {
    MessageKind kind;
    std::u16string text;
};

}  // namespace zelvo::test
