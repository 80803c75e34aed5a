#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include "platform/GlobalHotKeys.h"
#include "tests/support/XKeySender.h"

namespace zelvo {
namespace {

constexpr int kShowId = 1034;
constexpr int kHideId = 1035;
// Pressed after a key that must stay silent: X delivers in order, so once this one has arrived
// the silent key would have too.
constexpr int kSentinelId = 7;

// The keys of this process, pressed by another client of the display.
class GlobalHotKeysTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_sender.Connected());
        m_keys = CreateSystemHotKeys();
        m_keys->SetHandler([this](int id) { m_seen.push_back(id); });
        ASSERT_TRUE(m_keys->Register(kSentinelId, HotKeyModifier::Alt, 'S'));
    }
    void TearDown() override {
        // The display outlives the test: leave its locks as they were found.
        if (m_sender.CapsLockOn()) m_sender.Tap("Caps_Lock");
        if (m_sender.NumLockOn()) m_sender.Tap("Num_Lock");
    }

    bool WaitForCount(size_t count) {
        for (int i = 0; i < 1000 && m_seen.size() < count; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
        return m_seen.size() >= count;
    }
    // The identifiers that arrived for `press`, up to the sentinel that follows it.
    std::vector<int> Arrivals(const std::function<void()>& press) {
        m_seen.clear();
        press();
        m_sender.Press({"Alt_L"}, "s");
        const bool sentinelArrived = [this] {
            for (int i = 0; i < 1000; ++i) {
                if (!m_seen.empty() && m_seen.back() == kSentinelId) return true;
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                QThread::msleep(2);
            }
            return false;
        }();
        EXPECT_TRUE(sentinelArrived);
        std::vector<int> before = m_seen;
        if (!before.empty()) before.pop_back();
        return before;
    }
    void PressCtrlQ() { m_sender.Press({"Control_L"}, "q"); }

    test::XKeySender m_sender;
    std::unique_ptr<GlobalHotKeys> m_keys;
    std::vector<int> m_seen;
};

TEST_F(GlobalHotKeysTest, EachCombinationArrivesWithItsIdentifierAndOnlyWithItsModifier) {
    ASSERT_TRUE(m_keys->Register(kShowId, HotKeyModifier::Control, 'Q'));
    ASSERT_TRUE(m_keys->Register(kHideId, HotKeyModifier::Alt, '7'));
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{kShowId});
    EXPECT_EQ(Arrivals([this] { m_sender.Press({"Alt_L"}, "7"); }), std::vector<int>{kHideId});
    EXPECT_EQ(Arrivals([this] {
                  m_sender.Press({}, "q");
                  m_sender.Press({"Shift_L"}, "q");
                  m_sender.Press({"Control_L", "Shift_L"}, "q");
              }),
              std::vector<int>{});
}

TEST_F(GlobalHotKeysTest, AKeyHeldDownArrivesOnceHoweverLongItRepeats) {
    // Held past the keyboard's repeat delay, the key repeats; the show key must not read the
    // till's screen again for each repeat while the operator types the code.
    ASSERT_TRUE(m_keys->Register(kShowId, HotKeyModifier::Control, 'Q'));
    EXPECT_EQ(Arrivals([this] { m_sender.Hold({"Control_L"}, "q", 1500); }),
              std::vector<int>{kShowId});
    // Pressed again, it arrives again.
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{kShowId});
}

TEST_F(GlobalHotKeysTest, ShiftWithALetterAndFunctionKeysAreGrabbedAsTheirKeys) {
    // shift+f5 in the settings means Shift and the letter F.
    ASSERT_TRUE(m_keys->Register(kShowId, HotKeyModifier::Shift, 'F'));
    ASSERT_TRUE(m_keys->Register(kHideId, HotKeyModifier::Control, 116));
    EXPECT_EQ(Arrivals([this] { m_sender.Press({"Shift_L"}, "f"); }), std::vector<int>{kShowId});
    EXPECT_EQ(Arrivals([this] { m_sender.Press({"Control_L"}, "F5"); }), std::vector<int>{kHideId});
}

TEST_F(GlobalHotKeysTest, CapsLockAndNumLockDoNotStopTheKey) {
    ASSERT_TRUE(m_keys->Register(kShowId, HotKeyModifier::Control, 'Q'));
    m_sender.Tap("Caps_Lock");
    ASSERT_TRUE(m_sender.CapsLockOn());
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{kShowId});
    m_sender.Tap("Num_Lock");
    ASSERT_TRUE(m_sender.NumLockOn());
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{kShowId});
    m_sender.Tap("Caps_Lock");
    ASSERT_FALSE(m_sender.CapsLockOn());
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{kShowId});
}

TEST_F(GlobalHotKeysTest, ACombinationAnotherProgramHoldsIsRefusedQuietlyAndStaysWithIt) {
    m_sender.TakeCombination(HotKeyModifier::Control, "q");
    EXPECT_FALSE(m_keys->Register(kShowId, HotKeyModifier::Control, 'Q'));
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{});
    EXPECT_EQ(m_sender.PressesReceived(), 1);
    // The lock states the other program left free were not kept either: a key that worked only
    // with Caps Lock on would be worse than none, and it would be kept from the other programs.
    m_sender.WatchUngrabbedKeys();
    m_sender.Tap("Caps_Lock");
    m_sender.PressesReceived();
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{});
    EXPECT_EQ(m_sender.PressesReceived(), 1);
    // The process goes on and its other keys still work.
    EXPECT_TRUE(m_keys->Register(kHideId, HotKeyModifier::Control, 'B'));
    EXPECT_EQ(Arrivals([this] { m_sender.Press({"Control_L"}, "b"); }), std::vector<int>{kHideId});
}

TEST_F(GlobalHotKeysTest, UnregisteredKeyNoLongerArrivesAndIsFreeForOthers) {
    ASSERT_TRUE(m_keys->Register(kShowId, HotKeyModifier::Control, 'Q'));
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{kShowId});
    m_keys->Unregister(kShowId);
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{});
    m_sender.TakeCombination(HotKeyModifier::Control, "q");
    PressCtrlQ();
    EXPECT_EQ(m_sender.PressesReceived(), 1);
}

TEST_F(GlobalHotKeysTest, DestroyingTheObjectLetsItsKeysGo) {
    ASSERT_TRUE(m_keys->Register(kShowId, HotKeyModifier::Control, 'Q'));
    m_keys.reset();
    m_sender.TakeCombination(HotKeyModifier::Control, "q");
    PressCtrlQ();
    EXPECT_EQ(m_sender.PressesReceived(), 1);
}

TEST_F(GlobalHotKeysTest, AKeyThatDoesNotExistHereIsRefused) {
    EXPECT_FALSE(m_keys->Register(kShowId, HotKeyModifier::Control, 0));
    EXPECT_FALSE(m_keys->Register(kShowId, HotKeyModifier::Control, 0xB5));
    // Registering again under an identifier replaces the earlier key.
    ASSERT_TRUE(m_keys->Register(kShowId, HotKeyModifier::Control, 'Q'));
    ASSERT_TRUE(m_keys->Register(kShowId, HotKeyModifier::Control, 'W'));
    EXPECT_EQ(Arrivals([this] { PressCtrlQ(); }), std::vector<int>{});
    EXPECT_EQ(Arrivals([this] { m_sender.Press({"Control_L"}, "w"); }), std::vector<int>{kShowId});
}

}  // namespace
}  // namespace zelvo
