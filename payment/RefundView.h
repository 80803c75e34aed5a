#pragma once

#include <string>

#include "payment/IconKind.h"
#include "payment/MessageKind.h"

namespace zelvo {

// The query and refund page as the refund flow sees it (the grid itself is the list logic's).
class RefundView {
public:
    virtual ~RefundView() = default;

    // The main window's network flag.
    virtual bool NetworkUp() const = 0;
    virtual bool GridHasFocus() const = 0;
    virtual std::u16string SearchText() const = 0;

    virtual void ShowMessage(MessageKind kind, const std::u16string& text) = 0;
    // Modal; the flow carries on once it is closed.
    virtual void ShowNotice(IconKind iconKind, const std::u16string& text,
                            const std::u16string& button) = 0;

    // RefundPrompt: not modal; its confirm calls RefundFlow::StartRefund with the three boxes.
    virtual void OpenRefundPrompt(const std::u16string& orderNumber,
                                  const std::u16string& amount) = 0;
    virtual void CloseRefundPrompt() = 0;
    // Empties the prompt's password box and gives it the focus.
    virtual void ResetPasswordBox() = 0;

    virtual void CloseSettlementPrompt() = 0;
    virtual void CloseKeypad() = 0;
};

}  // namespace zelvo
