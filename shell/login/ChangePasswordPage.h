#pragma once

#include <array>

#include "operator/ChangePasswordLogic.h"
#include "shell/ShellPage.h"

namespace zelvo {

class ActionButton;
class CLocalDb;
class SkinEdit;
class SkinLabel;

// The page behind "修改密码": operator ID, old password, new password twice, "确认修改".
class ChangePasswordPage : public ShellPage, private ChangePasswordView {
    Q_OBJECT
public:
    ChangePasswordPage(CLocalDb& db, ShellHost& host, QWidget* parent);

    void PreparePage() override;
    void HandleKeypadKey(int code) override;
    void HandleEnter();

    SkinEdit* Box(PasswordBox box) const;
    ActionButton* ConfirmButton() const { return m_confirm; }
    bool ButtonHasFocus() const { return m_buttonFocused; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect PanelRect() const;
    int FocusedIndex() const;
    void FocusIndex(int index);
    void Submit();

    // ChangePasswordView
    void ShowMessage(MessageKind kind, const std::u16string& text) override;
    void Focus(PasswordBox box) override;
    void Clear(PasswordBox box) override;

    CLocalDb& m_db;
    SkinLabel* m_title;
    std::array<SkinLabel*, 4> m_labels{};
    std::array<SkinEdit*, 4> m_boxes{};
    ActionButton* m_confirm;
    bool m_buttonFocused = false;
};

}  // namespace zelvo
