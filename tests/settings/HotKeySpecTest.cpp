#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/GlobalHotKeys.h"
#include "settings/HotKeySpec.h"
#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

constexpr unsigned kAlt = HotKeyModifier::Alt;
constexpr unsigned kCtrl = HotKeyModifier::Control;
constexpr unsigned kShift = HotKeyModifier::Shift;
constexpr unsigned kWin = HotKeyModifier::Win;

// Remembers what was registered, and refuses the combinations it is told are taken.
class RecordingHotKeys final : public GlobalHotKeys {
public:
    bool Register(int id, unsigned modifiers, int virtualKey) override {
        attempts.push_back({id, {modifiers, virtualKey}});
        if (taken.count({modifiers, virtualKey}) != 0) return false;
        registered[id] = {modifiers, virtualKey};
        return true;
    }
    void Unregister(int id) override { registered.erase(id); }
    void SetHandler(std::function<void(int)>) override {}

    std::vector<std::pair<int, std::pair<unsigned, int>>> attempts;
    std::map<int, std::pair<unsigned, int>> registered;
    std::map<std::pair<unsigned, int>, bool> taken;
};

class HotKeySpecTest : public testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
    }
    void SetKey(const std::string& name, const std::string& value) {
        ASSERT_TRUE(m_db.Execute("update SysConfig set Value = ? where Name = ?", {value, name}));
    }
    // The mask and key the show key registers with, starting from no modifier.
    std::pair<unsigned, int> ShowKey(const std::string& value) {
        SetKey("ShowKey", value);
        unsigned mask = 0;
        const int key = ParseHotKeySpec(&m_db, "ShowKey", mask);
        return {mask, key};
    }

    test::ScopedWorkDir m_dir;
    CLocalDb m_db;
};

TEST_F(HotKeySpecTest, ModifierWordInAnyCaseAndTheFirstKeyCharacterInUpperCase) {
    EXPECT_EQ(ShowKey("ctrl+q"), std::make_pair(kCtrl, int('Q')));
    EXPECT_EQ(ShowKey("ALT+7"), std::make_pair(kAlt, int('7')));
    EXPECT_EQ(ShowKey("Win+z"), std::make_pair(kWin, int('Z')));
    // A key name is not understood: shift+f5 is Shift and the letter F.
    EXPECT_EQ(ShowKey("shift+f5"), std::make_pair(kShift, int('F')));
}

TEST_F(HotKeySpecTest, OnlyTheFirstPlusSplitsAndOnlyOneModifierWordIsKnown) {
    // In ctrl+shift+a the key part is "shift+a", whose first character is S.
    EXPECT_EQ(ShowKey("ctrl+shift+a"), std::make_pair(kCtrl, int('S')));
    EXPECT_EQ(ShowKey("ctrl++"), std::make_pair(kCtrl, int('+')));
}

TEST_F(HotKeySpecTest, UnknownModifierWordLeavesTheMaskAsItWas) {
    SetKey("ShowKey", "hyper+k");
    unsigned mask = kAlt;
    EXPECT_EQ(ParseHotKeySpec(&m_db, "ShowKey", mask), 'K');
    EXPECT_EQ(mask, kAlt);
    // Without a "+" the whole text is both parts: an unknown word, and its first letter.
    SetKey("ShowKey", "m");
    EXPECT_EQ(ParseHotKeySpec(&m_db, "ShowKey", mask), 'M');
    EXPECT_EQ(mask, kAlt);
}

TEST_F(HotKeySpecTest, EmptyKeyPartOrMissingRowGivesNoKey) {
    EXPECT_EQ(ShowKey("ctrl+"), std::make_pair(kCtrl, 0));
    EXPECT_EQ(ShowKey(""), std::make_pair(0u, 0));
    ASSERT_TRUE(m_db.Execute("delete from SysConfig where Name = 'ShowKey'"));
    unsigned mask = kShift;
    EXPECT_EQ(ParseHotKeySpec(&m_db, "ShowKey", mask), 0);
    EXPECT_EQ(mask, kShift);
}

TEST_F(HotKeySpecTest, FailedStatementReadsAsCtrlA) {
    ASSERT_TRUE(m_db.Execute("drop table SysConfig"));
    unsigned mask = 0;
    EXPECT_EQ(ParseHotKeySpec(&m_db, "ShowKey", mask), 'A');
    EXPECT_EQ(mask, kCtrl);
}

TEST_F(HotKeySpecTest, KeyNameIsBoundNotSpliced) {
    // A name that would widen a spliced statement to every row finds no row at all.
    unsigned mask = 0;
    EXPECT_EQ(ParseHotKeySpec(&m_db, "x' or Name = 'ShowKey", mask), 0);
    EXPECT_EQ(mask, 0u);
}

TEST_F(HotKeySpecTest, HideKeyStartsFromTheShowKeysMask) {
    SetKey("ShowKey", "ctrl+a");
    SetKey("HideKey", "b");
    RecordingHotKeys keys;
    RegisterCashierHotKeys(keys, &m_db);
    ASSERT_EQ(keys.attempts.size(), 2u);
    EXPECT_EQ(keys.attempts[0], std::make_pair(HOTKEY_SHOW, std::make_pair(kCtrl, int('A'))));
    EXPECT_EQ(keys.attempts[1], std::make_pair(HOTKEY_HIDE, std::make_pair(kCtrl, int('B'))));

    SetKey("ShowKey", "alt+1");
    SetKey("HideKey", "shift+2");
    RecordingHotKeys other;
    RegisterCashierHotKeys(other, &m_db);
    EXPECT_EQ(other.registered[HOTKEY_SHOW], std::make_pair(kAlt, int('1')));
    EXPECT_EQ(other.registered[HOTKEY_HIDE], std::make_pair(kShift, int('2')));
}

TEST_F(HotKeySpecTest, ATakenShowKeyStillLetsTheHideKeyRegister) {
    RecordingHotKeys keys;
    keys.taken[{kCtrl, int('A')}] = true;
    RegisterCashierHotKeys(keys, &m_db);
    EXPECT_EQ(keys.registered.count(HOTKEY_SHOW), 0u);
    EXPECT_EQ(keys.registered[HOTKEY_HIDE], std::make_pair(kCtrl, int('B')));
    UnregisterCashierHotKeys(keys);
    EXPECT_TRUE(keys.registered.empty());
}

}  // namespace
}  // namespace zelvo
