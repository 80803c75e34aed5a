#include "operator/LoginLogic.h"

#include "MISCIL/MisCil.h"
#include "base/CodePage.h"
#include "base/Text.h"
#include "operator/CurrentOperator.h"
#include "store/CLocalDb.h"
#include "store/RowCallbacks.h"

namespace zelvo {

LoginLogic::LoginLogic(CLocalDb& db, CurrentOperator& current, LoginView& view)
    : m_db(db), m_current(current), m_view(view) {}

bool LoginLogic::Submit(const std::u16string& operatorId, const std::u16string& password) {
    if (operatorId.empty()) {
        m_view.ShowMessage(MessageKind::Error, u"用户密码为空！");
        m_view.FocusOperatorId();
        return false;
    }
    if (password.empty()) {
        m_view.ShowMessage(MessageKind::Error, u"密码为空！");
        m_view.FocusPassword();
        return false;
    }
    std::string id = TrimWhitespace(Utf16ToGbk(operatorId));
    std::string secret = TrimWhitespace(Utf16ToGbk(password));

    SqlRows rows;
    bool found =
        m_db.Query("select * from User where ID = ? and PassWord = ?", {id, secret}, rows) &&
        rows.rows.size() == 1;
    if (!found) {
        m_view.ShowMessage(MessageKind::Error, u"用户不存在或密码不正确！");
        m_view.ClearBoxes();
        m_view.FocusOperatorId();
        return false;
    }
    m_current.operatorId = id;
    m_current.password = secret;
    m_view.LoginSucceeded();
    return true;
}

bool IsConfiguredMerCode(const std::string& merCode) {
    return !merCode.empty() && merCode != "000000000000000";
}

AfterLogin DecideAfterLogin(CLocalDb& db, CurrentOperator& current) {
    std::string merCode;
    bool read = db.ExecuteWithCallback("select Value  from SysConfig where Name = 'MerCode'",
                                       FirstColumnToText, &merCode);
    if (read && IsConfiguredMerCode(merCode)) {
        current.receiptOperator = current.operatorId.substr(0, 2);
        // Slips written by the gateway library name the operator too.
        MisCilSetOperatorId(current.receiptOperator);
        return AfterLogin::Payment;
    }
    if (read && !current.IsAdministrator()) {
        current.Clear();
        return AfterLogin::NeedAdministrator;
    }
    return AfterLogin::LockedSettings;
}

}  // namespace zelvo
