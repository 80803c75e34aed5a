#pragma once

#include "shell/pages/PopupPrompt.h"

namespace zelvo {

class AmountEdit;
class SkinEdit;

// RefundPrompt: the order number, the amount to refund and the administrator's password.
// Enter on "确  定" does nothing: the refund is confirmed from the password box or by a click.
class RefundPrompt : public PopupPrompt {
    Q_OBJECT
public:
    explicit RefundPrompt(QWidget* parent);

    // Fills the boxes (the password box stays empty) and shows the prompt with "确  定" focused.
    void OpenWith(const QString& orderNumber, const QString& amount);
    // A wrong password: the box is emptied and focused, the prompt stays.
    void ResetPasswordBox();

    SkinEdit* OrderBox() const { return m_order; }
    AmountEdit* AmountBox() const { return m_amount; }
    SkinEdit* PasswordBox() const { return m_password; }

protected:
    void FocusFirst() override;
    void ApplyKeypadToBox(QLineEdit& box, int code) override;

private:
    SkinEdit* m_order;
    AmountEdit* m_amount;
    SkinEdit* m_password;
};

}  // namespace zelvo
