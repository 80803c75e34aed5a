#pragma once

#include <string>

#include "payment/MessageKind.h"

namespace zelvo {

class CLocalDb;
struct CurrentOperator;

// What the login logic needs of its panel.
class LoginView {
public:
    virtual ~LoginView() = default;
    virtual void ShowMessage(MessageKind kind, const std::u16string& text) = 0;
    virtual void FocusOperatorId() = 0;
    virtual void FocusPassword() = 0;
    // Empties both boxes and repaints the panel.
    virtual void ClearBoxes() = 0;
    // The operator is set; the page area decides where to go.
    virtual void LoginSucceeded() = 0;
};

// Checks an operator ID and password against the User table.
class LoginLogic {
public:
    LoginLogic(CLocalDb& db, CurrentOperator& current, LoginView& view);

    // True when the operator was found (LoginSucceeded has been sent).
    bool Submit(const std::u16string& operatorId, const std::u16string& password);

private:
    CLocalDb& m_db;
    CurrentOperator& m_current;
    LoginView& m_view;
};

// Where a successful login leads.
enum class AfterLogin {
    // Terminal configured: the payment page, with the receipt operator set.
    Payment,
    // Not configured and not the administrator: a notice, the login panel stays, nobody is in.
    NeedAdministrator,
    // Not configured (or unreadable) and the administrator: the settings, navigation locked.
    LockedSettings,
};

// Reads MerCode and applies the outcome to `current` (receipt operator, or cleared).
AfterLogin DecideAfterLogin(CLocalDb& db, CurrentOperator& current);

// A MerCode that marks the terminal as set up.
bool IsConfiguredMerCode(const std::string& merCode);

}  // namespace zelvo
