#pragma once

#include <functional>
#include <string>

#include "payment/MessageKind.h"

namespace zelvo {

class CLocalDb;
struct CurrentOperator;

// The four boxes of the change-password page.
enum class PasswordBox { OperatorId, OldPassword, NewPassword, RepeatPassword };

// What the change-password logic needs of its page.
class ChangePasswordView {
public:
    virtual ~ChangePasswordView() = default;
    virtual void ShowMessage(MessageKind kind, const std::u16string& text) = 0;
    virtual void Focus(PasswordBox box) = 0;
    virtual void Clear(PasswordBox box) = 0;
};

// The texts of the four boxes as typed.
struct PasswordChange {
    std::u16string operatorId;
    std::u16string oldPassword;
    std::u16string newPassword;
    std::u16string repeatPassword;
};

// Checks a password change and stores it. Once the stored password has been looked at, the
// program restarts whatever the outcome (`restart` does it), so the operator logs in afresh.
class ChangePasswordLogic {
public:
    ChangePasswordLogic(CLocalDb& db, const CurrentOperator& current, ChangePasswordView& view,
                        std::function<void()> restart);

    void Submit(const PasswordChange& change);

private:
    void Refuse(const std::u16string& message, std::initializer_list<PasswordBox> cleared,
                PasswordBox focus);
    void ClearAll();

    CLocalDb& m_db;
    const CurrentOperator& m_current;
    ChangePasswordView& m_view;
    std::function<void()> m_restart;
};

}  // namespace zelvo
