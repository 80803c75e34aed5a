#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/KeyNameTable.h"
#include "settings/PageKeys.h"
#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

TEST(KeyNameTableTest, KnowsFunctionArrowEditAndLetterKeysInEitherCase) {
    EXPECT_EQ(KeyNameTable("F1"), 112);
    EXPECT_EQ(KeyNameTable("f12"), 123);
    EXPECT_EQ(KeyNameTable("left"), 37);
    EXPECT_EQ(KeyNameTable("Up"), 38);
    EXPECT_EQ(KeyNameTable("RIGHT"), 39);
    EXPECT_EQ(KeyNameTable("down"), 40);
    EXPECT_EQ(KeyNameTable("insert"), 45);
    EXPECT_EQ(KeyNameTable("Delete"), 46);
    EXPECT_EQ(KeyNameTable("a"), 65);
    EXPECT_EQ(KeyNameTable("Z"), 90);
}

TEST(KeyNameTableTest, RefusesNamesOutsideTheTable) {
    for (const char* name : {"", "f13", "F0", "f01", "1", "ctrl+a", "esc", "leftt", "é"}) {
        EXPECT_EQ(KeyNameTable(name), 0) << name;
    }
}

class PageKeyTest : public testing::Test, public PageKeyHost {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
    }
    void SetKey(const std::string& name, const std::string& value) {
        ASSERT_TRUE(m_db.Execute("update SysConfig set Value = ? where Name = ?", {value, name}));
    }

    void PreviousPage() override { m_actions.push_back("previous"); }
    void NextPage() override { m_actions.push_back("next"); }
    void StartRefund() override { m_actions.push_back("refund"); }
    void OpenSettlement() override { m_actions.push_back("settle"); }
    void SetEndOfShift() override { m_actions.push_back("end-of-shift"); }

    test::ScopedWorkDir m_dir;
    CLocalDb m_db;
    std::vector<std::string> m_actions;
};

TEST_F(PageKeyTest, LookupReadsTheTableAfreshAtEveryCall) {
    EXPECT_EQ(LookupPageKey(&m_db, "LeftKey", 112), 112);
    SetKey("LeftKey", "left");
    EXPECT_EQ(LookupPageKey(&m_db, "LeftKey", 112), 37);
    SetKey("LeftKey", "a");
    EXPECT_EQ(LookupPageKey(&m_db, "LeftKey", 112), 65);
}

TEST_F(PageKeyTest, UnknownEmptyOrMissingNamesFallBackToTheDefault) {
    SetKey("LeftKey", "f13");
    EXPECT_EQ(LookupPageKey(&m_db, "LeftKey", 112), 112);
    SetKey("RightKey", "");
    EXPECT_EQ(LookupPageKey(&m_db, "RightKey", 113), 113);
    ASSERT_TRUE(m_db.Execute("delete from SysConfig where Name = 'RepealKey'"));
    EXPECT_EQ(LookupPageKey(&m_db, "RepealKey", 114), 114);
    ASSERT_TRUE(m_db.Execute("drop table SysConfig"));
    EXPECT_EQ(LookupPageKey(&m_db, "SettleKey", 115), 115);
    EXPECT_EQ(LookupPageKey(nullptr, "SettleKey", 115), 115);
}

TEST_F(PageKeyTest, DefaultsSwitchPagesWithF1AndF2) {
    EXPECT_TRUE(DispatchSharedPageKey(VirtualKey::F1, false, &m_db, *this));
    EXPECT_TRUE(DispatchSharedPageKey(VirtualKey::F2, false, &m_db, *this));
    EXPECT_FALSE(DispatchSharedPageKey(VirtualKey::F3, false, &m_db, *this));
    EXPECT_EQ(m_actions, (std::vector<std::string>{"previous", "next"}));
}

TEST_F(PageKeyTest, LetterAsLeftKeySwitchesOnPagesButStillTypesOnTheLoginPanel) {
    SetKey("LeftKey", "a");
    EXPECT_TRUE(DispatchSharedPageKey(VirtualKey::A, false, &m_db, *this));
    EXPECT_FALSE(DispatchSharedPageKey(VirtualKey::A, true, &m_db, *this));
    EXPECT_EQ(m_actions, (std::vector<std::string>{"previous"}));
}

TEST_F(PageKeyTest, QueryPageKeysWinOverThePageSwitch) {
    SetKey("SettleKey", "f2");
    SetKey("RightKey", "f2");
    EXPECT_TRUE(DispatchQueryPageKey(VirtualKey::F2, &m_db, *this));
    EXPECT_TRUE(DispatchQueryPageKey(VirtualKey::F3, &m_db, *this));
    EXPECT_FALSE(DispatchQueryPageKey(VirtualKey::F4, &m_db, *this));
    EXPECT_EQ(m_actions, (std::vector<std::string>{"settle", "refund"}));
}

TEST_F(PageKeyTest, EscapeEndsTheShiftAndOpensSettlementOnlyOnAPage) {
    EXPECT_FALSE(DispatchSharedPageKey(VirtualKey::Escape, true, &m_db, *this));
    EXPECT_EQ(m_actions, (std::vector<std::string>{"end-of-shift"}));
    m_actions.clear();
    EXPECT_FALSE(DispatchSharedPageKey(VirtualKey::Escape, false, &m_db, *this));
    EXPECT_EQ(m_actions, (std::vector<std::string>{"end-of-shift", "settle"}));
}

}  // namespace
}  // namespace zelvo
