#pragma once

#include <string>

#include "payment/MessageKind.h"

namespace zelvo {

// What the settlement needs from the query page and its password prompt.
class SettlementView {
public:
    virtual ~SettlementView() = default;

    virtual void ShowMessage(MessageKind kind, const std::u16string& text) = 0;
    // The prompt stays open for another try with an empty password field.
    virtual void ClearPasswordField() = 0;
    virtual void ClosePasswordPrompt() = 0;
    // Takes SCprint.txt to the printer without waiting for it.
    virtual void StartPrinting() = 0;
    // After a settlement: keypad closed, search box focused, and the re-login question when
    // the operator is ending the shift.
    virtual void SettlementDone() = 0;
};

}  // namespace zelvo
