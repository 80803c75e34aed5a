#pragma once

#include "payment/PaymentView.h"
#include "shell/pages/PageCallbacks.h"

namespace zelvo {

class PaymentPanel;

// The payment flow's view of the payment page's controls.
class PaymentPanelView : public PaymentView {
public:
    PaymentPanelView(PaymentPanel& panel, PageCallbacks callbacks);

    std::u16string AmountBoxText() const override;
    std::u16string CodeBoxText() const override;
    void SetAmountBoxText(const std::u16string& text) override;
    void SetCodeBoxText(const std::u16string& text) override;
    void SetAmountDisplay(const std::u16string& text) override;
    void FocusAmountBox() override;
    void FocusCodeBox() override;
    bool NetworkUp() const override;
    void CloseKeypad() override;
    void ShowMessage(MessageKind kind, const std::u16string& text) override;
    void ShowNotice(IconKind iconKind, const std::u16string& text,
                    const std::u16string& button) override;
    bool ShowConfirm(IconKind iconKind, const std::u16string& text,
                     const std::u16string& confirmButton,
                     const std::u16string& cancelButton) override;
    void OpenWaitingPrompt(IconKind iconKind, const std::u16string& text,
                           const std::u16string& queryButton,
                           const std::u16string& cancelButton) override;
    void CloseWaitingPrompt() override;
    void ShowPaymentLog(const std::deque<PaymentLogLine>& lines) override;

private:
    PaymentPanel& m_panel;
    PageCallbacks m_callbacks;
};

}  // namespace zelvo
