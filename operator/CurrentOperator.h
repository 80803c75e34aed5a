#pragma once

#include <string>

namespace zelvo {

// The operator who may save settings and change every password.
inline constexpr char AdministratorId[] = "00";

// Who is logged in: set by a successful login and fixed for the life of the process.
struct CurrentOperator {
    std::string operatorId;
    std::string password;
    // Printed on receipts after "操作员ID：": the first two characters of the ID.
    std::string receiptOperator;

    bool IsAdministrator() const { return operatorId == AdministratorId; }
    void Clear() { *this = CurrentOperator(); }
};

CurrentOperator& GetCurrentOperator();

// Set by Escape in a panel of the page area; cleared when the operator declines to log in again.
bool EndOfShiftFlag();
void SetEndOfShiftFlag(bool on);

}  // namespace zelvo
