#pragma once

#include <QString>

namespace zelvo {

// What the amount capture needs of the main window's pages.
class CaptureTarget {
public:
    virtual ~CaptureTarget() = default;

    // Only the payment page takes a captured amount.
    virtual bool AcceptsCapturedAmount() const = 0;
    // The current page's own focus rule (the payment page: the amount box while it is empty,
    // else the payment-code box).
    virtual void ApplyFocusRule() = 0;
    // The payment page's amount box and large amount take `amount`; the code box takes the
    // focus, ready for the scanner.
    virtual void PutAmount(const QString& amount) = 0;
    // The payment page's payment-code box, amount box and large amount are emptied.
    virtual void ClearPaymentFields() = 0;
    // A message the operator acknowledges with "我知道了".
    virtual void ShowNotice(const QString& text) = 0;
};

}  // namespace zelvo
