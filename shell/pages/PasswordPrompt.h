#pragma once

#include "shell/pages/PopupPrompt.h"

namespace zelvo {

class SkinEdit;

// The settlement prompt "结 算": the operator's password before the shift is closed.
class PasswordPrompt : public PopupPrompt {
    Q_OBJECT
public:
    explicit PasswordPrompt(QWidget* parent);

    // Shows the prompt with an empty password field that has the focus.
    void OpenEmpty();
    void ClearPassword();
    SkinEdit* PasswordBox() const { return m_password; }

protected:
    void FocusFirst() override;
    void EnterOnConfirm() override;

private:
    SkinEdit* m_password;
};

}  // namespace zelvo
