#include "operator/LoginLogic.h"

#include "MISCIL/MisCilConfig.h"
#include "operator/CurrentOperator.h"
#include "tests/operator/LoginFixture.h"

namespace zelvo {
namespace {

class RecordingLoginView : public LoginView {
public:
    void ShowMessage(MessageKind kind, const std::u16string& text) override {
        messages.push_back({kind, text});
    }
    void FocusOperatorId() override { focus = "id"; }
    void FocusPassword() override { focus = "password"; }
    void ClearBoxes() override { ++clears; }
    void LoginSucceeded() override { ++successes; }

    std::vector<test::ShownMessage> messages;
    std::string focus;
    int clears = 0;
    int successes = 0;
};

class LoginTest : public test::DeliveredDbTest {
protected:
    bool Login(const std::u16string& id, const std::u16string& password) {
        LoginLogic logic(m_db, m_operator, m_view);
        return logic.Submit(id, password);
    }
    void ExpectRefused(const std::u16string& text, const std::string& focus) {
        ASSERT_FALSE(m_view.messages.empty());
        EXPECT_EQ(m_view.messages.back().kind, MessageKind::Error);
        EXPECT_EQ(m_view.messages.back().text, text);
        EXPECT_EQ(m_view.focus, focus);
        EXPECT_EQ(m_view.successes, 0);
        EXPECT_TRUE(m_operator.operatorId.empty());
    }

    CurrentOperator m_operator;
    RecordingLoginView m_view;
};

TEST_F(LoginTest, EmptyBoxesAreRefusedBeforeTheDatabase) {
    EXPECT_FALSE(Login(u"", u"123456"));
    ExpectRefused(u"用户密码为空！", "id");
    EXPECT_FALSE(Login(u"01", u""));
    ExpectRefused(u"密码为空！", "password");
    EXPECT_EQ(m_view.clears, 0);
}

TEST_F(LoginTest, SurroundingWhitespaceIsTrimmedFromBoth) {
    EXPECT_TRUE(Login(u"  01\t", u"\r\n123456  "));
    EXPECT_EQ(m_view.successes, 1);
    EXPECT_EQ(m_operator.operatorId, "01");
    EXPECT_EQ(m_operator.password, "123456");
}

TEST_F(LoginTest, PasswordOfSpacesPassesTheEmptyCheckThenFails) {
    EXPECT_FALSE(Login(u"01", u"   "));
    ExpectRefused(u"用户不存在或密码不正确！", "id");
    EXPECT_EQ(m_view.clears, 1);
    // Unless a row with an empty password exists.
    Sql("insert into User (ID, PassWord) values ('05', '')");
    EXPECT_TRUE(Login(u"05", u"   "));
}

TEST_F(LoginTest, PasswordIsComparedExactly) {
    Sql("update User set PassWord = 'Secret' where ID = '01'");
    EXPECT_FALSE(Login(u"01", u"secret"));
    ExpectRefused(u"用户不存在或密码不正确！", "id");
    EXPECT_TRUE(Login(u"01", u"Secret"));
}

TEST_F(LoginTest, TwoIdenticalRowsRefuseTheOperator) {
    Sql("insert into User (ID, PassWord) values ('01', '123456')");
    EXPECT_FALSE(Login(u"01", u"123456"));
    ExpectRefused(u"用户不存在或密码不正确！", "id");
}

TEST_F(LoginTest, QuotesAreValuesNotStatementText) {
    EXPECT_FALSE(Login(u"01", u"' or '1'='1"));
    EXPECT_FALSE(Login(u"' or 1=1 --", u"x"));
    ExpectRefused(u"用户不存在或密码不正确！", "id");
    Sql("insert into User (ID, PassWord) values ('o''k', 'it''s')");
    EXPECT_TRUE(Login(u"o'k", u"it's"));
    EXPECT_EQ(m_operator.operatorId, "o'k");
}

TEST_F(LoginTest, BrokenUserTableIsAFailedLogin) {
    Sql("drop table User");
    EXPECT_FALSE(Login(u"01", u"123456"));
    ExpectRefused(u"用户不存在或密码不正确！", "id");
}

TEST_F(LoginTest, ChineseOperatorIdIsLookedUpInTheCodePage) {
    Sql("insert into User (ID, PassWord) values (CAST(X'D5C5C8FD' AS TEXT), '1')");  // 张三
    EXPECT_TRUE(Login(u"张三", u"1"));
    EXPECT_EQ(m_operator.operatorId, "\xD5\xC5\xC8\xFD");
}

class AfterLoginTest : public test::DeliveredDbTest {
protected:
    AfterLogin Decide(const std::string& id) {
        m_operator.operatorId = id;
        m_operator.password = "pw";
        return DecideAfterLogin(m_db, m_operator);
    }
    CurrentOperator m_operator;
};

TEST_F(AfterLoginTest, ConfiguredTerminalTakesTheFirstTwoCharactersForReceipts) {
    EXPECT_EQ(Decide("0123"), AfterLogin::Payment);
    EXPECT_EQ(m_operator.receiptOperator, "01");
    EXPECT_EQ(MisCilOperatorId(), "01");
    EXPECT_EQ(m_operator.operatorId, "0123");
    EXPECT_EQ(Decide("7"), AfterLogin::Payment);
    EXPECT_EQ(m_operator.receiptOperator, "7");
}

TEST_F(AfterLoginTest, ZeroMerCodeSendsCashiersBackAndTheAdministratorToSettings) {
    Sql("update SysConfig set Value = '000000000000000' where Name = 'MerCode'");
    EXPECT_EQ(Decide("01"), AfterLogin::NeedAdministrator);
    EXPECT_TRUE(m_operator.operatorId.empty());
    EXPECT_TRUE(m_operator.password.empty());
    EXPECT_EQ(Decide("00"), AfterLogin::LockedSettings);
    EXPECT_EQ(m_operator.operatorId, "00");
}

TEST_F(AfterLoginTest, EmptyOrMissingMerCodeIsNotConfigured) {
    Sql("update SysConfig set Value = '' where Name = 'MerCode'");
    EXPECT_EQ(Decide("01"), AfterLogin::NeedAdministrator);
    Sql("delete from SysConfig where Name = 'MerCode'");
    EXPECT_EQ(Decide("02"), AfterLogin::NeedAdministrator);
    EXPECT_EQ(Decide("00"), AfterLogin::LockedSettings);
}

TEST_F(AfterLoginTest, UnreadableConfigurationLeadsToLockedSettings) {
    Sql("drop table SysConfig");
    EXPECT_EQ(Decide("01"), AfterLogin::LockedSettings);
}

}  // namespace
}  // namespace zelvo
