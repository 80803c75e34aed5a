#pragma once

#include <deque>
#include <string>

#include "payment/IconKind.h"
#include "payment/MessageKind.h"
#include "payment/PaymentLog.h"

namespace zelvo {

// The payment page as its flow sees it. Setting a box's text puts the caret at its end.
class PaymentView {
public:
    virtual ~PaymentView() = default;

    virtual std::u16string AmountBoxText() const = 0;
    virtual std::u16string CodeBoxText() const = 0;
    virtual void SetAmountBoxText(const std::u16string& text) = 0;
    virtual void SetCodeBoxText(const std::u16string& text) = 0;
    virtual void SetAmountDisplay(const std::u16string& text) = 0;
    virtual void FocusAmountBox() = 0;
    virtual void FocusCodeBox() = 0;

    // The main window's network flag.
    virtual bool NetworkUp() const = 0;
    virtual void CloseKeypad() = 0;

    virtual void ShowMessage(MessageKind kind, const std::u16string& text) = 0;
    // Modal dialogs; the flow carries on once they are closed.
    virtual void ShowNotice(IconKind iconKind, const std::u16string& text,
                            const std::u16string& button) = 0;
    virtual bool ShowConfirm(IconKind iconKind, const std::u16string& text,
                             const std::u16string& confirmButton,
                             const std::u16string& cancelButton) = 0;

    // The waiting prompt in query mode: its left button calls PaymentFlow::QueryNow and leaves
    // it open; its right button and Escape close it and call PaymentFlow::CancelWaiting. The
    // view may show it modally: the flow does nothing more after opening it.
    virtual void OpenWaitingPrompt(IconKind iconKind, const std::u16string& text,
                                   const std::u16string& queryButton,
                                   const std::u16string& cancelButton) = 0;
    // Switches query mode off and closes the prompt as confirmed, if it is open.
    virtual void CloseWaitingPrompt() = 0;

    virtual void ShowPaymentLog(const std::deque<PaymentLogLine>& lines) = 0;
};

}  // namespace zelvo
