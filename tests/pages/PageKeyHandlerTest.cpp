#include <gtest/gtest.h>

#include "shell/keys/QtVirtualKey.h"
#include "shell/pages/OperationPages.h"
#include "shell/pages/PasswordPrompt.h"
#include "shell/pages/QueryRefundPage.h"
#include "tests/pages/PageTestSupport.h"

namespace zelvo {
namespace {

TEST(QtVirtualKeyTest, KeysCarryTheCodesTheConfigurationNames) {
    auto code = [](int key) {
        return VirtualKeyOf(QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    };
    EXPECT_EQ(code(Qt::Key_F1), 112);
    EXPECT_EQ(code(Qt::Key_F12), 123);
    EXPECT_EQ(code(Qt::Key_Left), 37);
    EXPECT_EQ(code(Qt::Key_Down), 40);
    EXPECT_EQ(code(Qt::Key_Delete), 46);
    EXPECT_EQ(code(Qt::Key_A), 65);
    EXPECT_EQ(code(Qt::Key_5), 53);
    EXPECT_EQ(code(Qt::Key_Escape), 27);
    EXPECT_EQ(code(Qt::Key_Space), 0);
    EXPECT_EQ(code(Qt::Key_F13), 0);
}

class PageKeyHandlerTest : public testing::Test {
protected:
    PageKeyHandlerTest() : m_env(m_gateway) {
        m_query = std::make_unique<QueryRefundPage>(m_host, m_env.Services(), nullptr);
        m_host.pages = {m_query.get()};
        m_host.current = PageId::Payment;
        m_handler = MakePageKeyHandler([this] { return &m_env.Db(); });
    }
    bool Press(int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        return m_handler(event, m_host);
    }
    void SetKey(const std::string& name, const std::string& value) {
        ASSERT_TRUE(
            m_env.Db().Execute("update SysConfig set Value = ? where Name = ?", {value, name}));
    }

    test::ScriptedGateway m_gateway;
    test::PagesEnvironment m_env;
    test::FakeShellHost m_host;
    std::unique_ptr<QueryRefundPage> m_query;
    PageKeyHandler m_handler;
};

TEST_F(PageKeyHandlerTest, ConfiguredNamesSwitchPagesAndUnknownOnesFallBackToF1AndF2) {
    SetKey("LeftKey", "left");
    EXPECT_TRUE(Press(Qt::Key_Left));
    EXPECT_FALSE(Press(Qt::Key_F1));
    EXPECT_EQ(m_host.previousCount, 1);
    SetKey("LeftKey", "f13");
    EXPECT_TRUE(Press(Qt::Key_F1));
    EXPECT_TRUE(Press(Qt::Key_F2));
    EXPECT_EQ(m_host.previousCount, 2);
    EXPECT_EQ(m_host.nextCount, 1);
}

TEST_F(PageKeyHandlerTest, ALetterKeySwitchesOnAPageButTypesOnTheLoginPanel) {
    SetKey("LeftKey", "a");
    EXPECT_TRUE(Press(Qt::Key_A));
    EXPECT_EQ(m_host.previousCount, 1);
    m_host.current = PageId::None;
    EXPECT_FALSE(Press(Qt::Key_A));
    EXPECT_EQ(m_host.previousCount, 1);
}

TEST_F(PageKeyHandlerTest, EscapeOnAPageEndsTheShiftAndOpensTheSettlementPrompt) {
    EXPECT_FALSE(Press(Qt::Key_Escape));
    EXPECT_TRUE(EndOfShiftFlag());
    EXPECT_TRUE(m_query->SettlementPrompt().isVisible());
}

TEST_F(PageKeyHandlerTest, EscapeOnTheLoginPanelOnlyEndsTheShift) {
    m_host.current = PageId::None;
    EXPECT_FALSE(Press(Qt::Key_Escape));
    EXPECT_TRUE(EndOfShiftFlag());
    EXPECT_FALSE(m_query->SettlementPrompt().isVisible());
}

}  // namespace
}  // namespace zelvo
