#include "shell/pages/PasswordPrompt.h"

#include "shell/controls/SkinEdit.h"
#include "shell/controls/SkinLabel.h"

namespace zelvo {

PasswordPrompt::PasswordPrompt(QWidget* parent)
    : PopupPrompt(QStringLiteral("确  定"), QStringLiteral("取  消"), parent),
      m_password(new SkinEdit(18, true, this)) {
    auto* title = new SkinLabel(QStringLiteral("结 算"), 18, Qt::AlignHCenter, this);
    title->setGeometry(0, 50, kWidth, 20);
    auto* label =
        new SkinLabel(QStringLiteral("操作员密码："), 14, Qt::AlignRight | Qt::AlignVCenter, this);
    label->setGeometry(30, 91, 100, 26);
    m_password->setGeometry(136, 91, 200, 26);
    m_password->SetPasswordStyle(true);
    m_password->setMaxLength(49);
    AddBox(m_password);
}

void PasswordPrompt::OpenEmpty() {
    m_password->clear();
    Open();
}

void PasswordPrompt::ClearPassword() {
    m_password->clear();
    FocusControl(m_password);
}

void PasswordPrompt::FocusFirst() {
    FocusControl(m_password);
}

void PasswordPrompt::EnterOnConfirm() {
    Q_EMIT ConfirmRequested();
}

}  // namespace zelvo
