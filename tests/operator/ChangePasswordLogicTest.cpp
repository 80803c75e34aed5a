#include "operator/ChangePasswordLogic.h"

#include <map>

#include "operator/CurrentOperator.h"
#include "tests/operator/LoginFixture.h"

namespace zelvo {
namespace {

class RecordingPasswordView : public ChangePasswordView {
public:
    void ShowMessage(MessageKind kind, const std::u16string& text) override {
        messages.push_back({kind, text});
    }
    void Focus(PasswordBox box) override { focus = box; }
    void Clear(PasswordBox box) override { ++cleared[box]; }

    std::vector<test::ShownMessage> messages;
    PasswordBox focus = PasswordBox::OperatorId;
    std::map<PasswordBox, int> cleared;
};

class ChangePasswordTest : public test::DeliveredDbTest {
protected:
    void LogIn(const std::string& id) {
        m_operator.operatorId = id;
        m_operator.password = "whatever";
    }
    void Submit(const PasswordChange& change) {
        ChangePasswordLogic logic(m_db, m_operator, m_view, [this] { ++m_restarts; });
        logic.Submit(change);
    }
    void ExpectError(const std::u16string& text, PasswordBox focus) {
        ASSERT_EQ(m_view.messages.size(), 1u);
        EXPECT_EQ(m_view.messages[0].kind, MessageKind::Error);
        EXPECT_EQ(m_view.messages[0].text, text);
        EXPECT_EQ(m_view.focus, focus);
    }
    bool Cleared(PasswordBox box) const { return m_view.cleared.count(box) > 0; }

    CurrentOperator m_operator;
    RecordingPasswordView m_view;
    int m_restarts = 0;
};

TEST_F(ChangePasswordTest, CashierCannotTouchAnotherOperatorEvenWithEmptyBoxes) {
    LogIn("01");
    Submit({u"02", u"", u"", u""});
    ExpectError(u"您不是超级管理员，不能修改其他操作员密码！", PasswordBox::OperatorId);
    EXPECT_EQ(m_view.cleared.size(), 4u);
    EXPECT_EQ(m_restarts, 0);
    EXPECT_EQ(StoredPassword("02"), "654321");
}

TEST_F(ChangePasswordTest, CashierWithEmptyOrPaddedIdIsRefusedByTheAdministratorRule) {
    LogIn("01");
    Submit({u"", u"123456", u"abc", u"abc"});
    ExpectError(u"您不是超级管理员，不能修改其他操作员密码！", PasswordBox::OperatorId);
    m_view.messages.clear();
    // The rule compares the ID as typed, untrimmed.
    Submit({u" 01", u"123456", u"abc", u"abc"});
    ExpectError(u"您不是超级管理员，不能修改其他操作员密码！", PasswordBox::OperatorId);
}

TEST_F(ChangePasswordTest, AdministratorSeesTheFieldChecksInOrder) {
    LogIn("00");
    struct Case {
        PasswordChange change;
        std::u16string message;
        PasswordBox focus;
    };
    const Case cases[] = {
        {{u"", u"x", u"y", u"y"}, u"操作员ID为空！", PasswordBox::OperatorId},
        {{u"01", u"", u"y", u"y"}, u"原密码为空！", PasswordBox::OldPassword},
        {{u"01", u"x", u"", u"y"}, u"输入密码为空！", PasswordBox::NewPassword},
        {{u"01", u"x", u"a b", u""}, u"输入密码中有空格！", PasswordBox::NewPassword},
        {{u"01", u"x", u"ab", u""}, u"再次输入密码为空！", PasswordBox::RepeatPassword},
    };
    for (const Case& c : cases) {
        m_view = RecordingPasswordView();
        Submit(c.change);
        ExpectError(c.message, c.focus);
    }
    EXPECT_EQ(m_restarts, 0);
    EXPECT_EQ(StoredPassword("01"), "123456");
}

TEST_F(ChangePasswordTest, SpaceInsideNewPasswordEmptiesNewAndRepeat) {
    LogIn("01");
    Submit({u"01", u"123456", u"ab cd", u"ab cd"});
    ExpectError(u"输入密码中有空格！", PasswordBox::NewPassword);
    EXPECT_TRUE(Cleared(PasswordBox::NewPassword));
    EXPECT_TRUE(Cleared(PasswordBox::RepeatPassword));
    EXPECT_FALSE(Cleared(PasswordBox::OldPassword));
}

TEST_F(ChangePasswordTest, OldPasswordIsComparedIgnoringCase) {
    m_db.Execute("update User set PassWord = 'AbC123' where ID = '01'");
    LogIn("01");
    Submit({u"01", u"abc123", u"New1", u"NEW1"});
    ASSERT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(m_view.messages[0].kind, MessageKind::Success);
    EXPECT_EQ(m_view.messages[0].text, u"修改成功！");
    EXPECT_EQ(StoredPassword("01"), "New1");
    EXPECT_EQ(m_restarts, 1);
}

TEST_F(ChangePasswordTest, WrongOldPasswordEmptiesItAndRestartsNothing) {
    LogIn("01");
    Submit({u"01", u"12345", u"abc", u"abc"});
    ExpectError(u"密码错误！", PasswordBox::OldPassword);
    EXPECT_TRUE(Cleared(PasswordBox::OldPassword));
    EXPECT_EQ(m_restarts, 0);
}

TEST_F(ChangePasswordTest, UnknownIdComparesAgainstEmptyAndIsRefused) {
    LogIn("00");
    Submit({u"99", u"anything", u"abc", u"abc"});
    ExpectError(u"密码错误！", PasswordBox::OldPassword);
    EXPECT_EQ(StoredPassword("99"), "<none>");
}

TEST_F(ChangePasswordTest, MismatchedRepeatEmptiesNewAndRepeat) {
    LogIn("01");
    Submit({u"01", u"123456", u"abc", u"abd"});
    ExpectError(u"两次密码输入不一致！", PasswordBox::NewPassword);
    EXPECT_TRUE(Cleared(PasswordBox::NewPassword));
    EXPECT_TRUE(Cleared(PasswordBox::RepeatPassword));
    EXPECT_EQ(StoredPassword("01"), "123456");
}

TEST_F(ChangePasswordTest, TrailingTabIsTrimmedFromTheStoredPassword) {
    LogIn("00");
    Submit({u"02\t", u"654321", u"\tnewpass\t", u"\tnewpass\t"});
    ASSERT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(m_view.messages[0].text, u"修改成功！");
    EXPECT_EQ(StoredPassword("02"), "newpass");
    EXPECT_EQ(m_view.focus, PasswordBox::OperatorId);
    EXPECT_EQ(m_view.cleared.size(), 4u);
}

TEST_F(ChangePasswordTest, LongStoredPasswordIsReadWhole) {
    std::string longPassword(120, 'k');
    ASSERT_TRUE(m_db.Execute("update User set PassWord = ? where ID = '01'", {longPassword}));
    LogIn("01");
    // A password that only shares its first 50 bytes with the stored one is wrong.
    Submit({u"01", std::u16string(50, u'k'), u"short", u"short"});
    ExpectError(u"密码错误！", PasswordBox::OldPassword);
    m_view = RecordingPasswordView();
    Submit({u"01", std::u16string(120, u'K'), u"short", u"short"});
    ASSERT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(m_view.messages[0].text, u"修改成功！");
    EXPECT_EQ(StoredPassword("01"), "short");
}

TEST_F(ChangePasswordTest, QuotesInIdAndPasswordsAreValues) {
    Sql("insert into User (ID, PassWord) values ('o''k', 'it''s')");
    LogIn("00");
    Submit({u"o'k", u"IT'S", u"x'--;", u"x'--;"});
    ASSERT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(m_view.messages[0].text, u"修改成功！");
    EXPECT_EQ(StoredPassword("o'k"), "x'--;");
    EXPECT_EQ(StoredPassword("00"), "888888");
    EXPECT_EQ(StoredPassword("01"), "123456");
}

TEST_F(ChangePasswordTest, FailingReadRestartsWithoutAMessage) {
    LogIn("00");
    Sql("alter table User rename to Operators");
    Submit({u"01", u"123456", u"abc", u"abc"});
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_EQ(m_restarts, 1);
}

TEST_F(ChangePasswordTest, FailingUpdateIsReportedAndStillRestarts) {
    Sql("create trigger NoChanges before update on User begin select raise(abort, 'no'); end");
    LogIn("01");
    Submit({u"01", u"123456", u"abc", u"abc"});
    ASSERT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(m_view.messages[0].kind, MessageKind::Error);
    EXPECT_EQ(m_view.messages[0].text, u"修改失败！");
    EXPECT_EQ(m_restarts, 1);
    EXPECT_EQ(StoredPassword("01"), "123456");
}

}  // namespace
}  // namespace zelvo
