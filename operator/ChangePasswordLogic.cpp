#include "operator/ChangePasswordLogic.h"

#include "base/CodePage.h"
#include "base/Text.h"
#include "operator/CurrentOperator.h"
#include "store/CLocalDb.h"

namespace zelvo {
ChangePasswordLogic::ChangePasswordLogic(CLocalDb& db, const CurrentOperator& current,
                                         ChangePasswordView& view, std::function<void()> restart)
    : m_db(db), m_current(current), m_view(view), m_restart(std::move(restart)) {}

void ChangePasswordLogic::Refuse(const std::u16string& message,
                                 std::initializer_list<PasswordBox> cleared, PasswordBox focus) {
    m_view.ShowMessage(MessageKind::Error, message);
    for (PasswordBox box : cleared) m_view.Clear(box);
    m_view.Focus(focus);
}

void ChangePasswordLogic::ClearAll() {
    for (PasswordBox box : {PasswordBox::OperatorId, PasswordBox::OldPassword,
                            PasswordBox::NewPassword, PasswordBox::RepeatPassword}) {
        m_view.Clear(box);
    }
}

void ChangePasswordLogic::Submit(const PasswordChange& change) {
    // Only the administrator may touch another operator's password; checked before anything
    // else, so an empty ID box is refused here too.
    if (!m_current.IsAdministrator() && Utf16ToGbk(change.operatorId) != m_current.operatorId) {
        m_view.ShowMessage(MessageKind::Error, u"您不是超级管理员，不能修改其他操作员密码！");
        ClearAll();
        m_view.Focus(PasswordBox::OperatorId);
        return;
    }
    if (change.operatorId.empty()) return Refuse(u"操作员ID为空！", {}, PasswordBox::OperatorId);
    if (change.oldPassword.empty()) return Refuse(u"原密码为空！", {}, PasswordBox::OldPassword);
    if (change.newPassword.empty()) {
        return Refuse(u"输入密码为空！", {}, PasswordBox::NewPassword);
    }
    if (change.newPassword.find(u' ') != std::u16string::npos) {
        return Refuse(u"输入密码中有空格！",
                      {PasswordBox::NewPassword, PasswordBox::RepeatPassword},
                      PasswordBox::NewPassword);
    }
    if (change.repeatPassword.empty()) {
        return Refuse(u"再次输入密码为空！", {}, PasswordBox::RepeatPassword);
    }

    std::string id = TrimWhitespace(Utf16ToGbk(change.operatorId));
    SqlRows rows;
    if (!m_db.Query("select PassWord from User where ID = ?", {id}, rows)) {
        m_restart();
        return;
    }
    // The last row wins; the stored password is taken whole, however long it is.
    std::string stored;
    for (const auto& row : rows.rows) stored = row.empty() ? std::string() : row[0];

    if (!EqualsIgnoringCase(change.oldPassword, GbkToUtf16(stored))) {
        return Refuse(u"密码错误！", {PasswordBox::OldPassword}, PasswordBox::OldPassword);
    }
    if (!EqualsIgnoringCase(change.newPassword, change.repeatPassword)) {
        return Refuse(u"两次密码输入不一致！",
                      {PasswordBox::NewPassword, PasswordBox::RepeatPassword},
                      PasswordBox::NewPassword);
    }

    std::string newPassword = TrimWhitespace(Utf16ToGbk(change.newPassword));
    if (m_db.Execute("Update User set PassWord = ? where ID = ?", {newPassword, id})) {
        m_view.ShowMessage(MessageKind::Success, u"修改成功！");
    } else {
        m_view.ShowMessage(MessageKind::Error, u"修改失败！");
    }
    ClearAll();
    m_view.Focus(PasswordBox::OperatorId);
    m_restart();
}

}  // namespace zelvo
