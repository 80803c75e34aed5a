#pragma once

#include <functional>

#include <QWidget>

#include "operator/LoginLogic.h"

namespace zelvo {

class ActionButton;
class CLocalDb;
class ShellHost;
class SkinEdit;
class SkinLabel;

// The card every run starts at: operator ID, password and "登  录".
class LoginPanel : public QWidget, private LoginView {
    Q_OBJECT
public:
    LoginPanel(CLocalDb& db, ShellHost& host, const QString& welcome, QWidget* parent = nullptr);

    // Empties both boxes and puts the focus on the operator ID box.
    void ClearLogin();
    void HandleKeypadKey(int code);
    // Enter, the keypad's confirm key and "登  录" come here.
    void HandleEnter();

    SkinEdit* OperatorIdBox() const { return m_operatorId; }
    SkinEdit* PasswordBox() const { return m_password; }
    ActionButton* LoginButton() const { return m_login; }

Q_SIGNALS:
    void LoginSucceededSignal();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRect CardRect() const;
    void Submit();

    // LoginView
    void ShowMessage(MessageKind kind, const std::u16string& text) override;
    void FocusOperatorId() override;
    void FocusPassword() override;
    void ClearBoxes() override;
    void LoginSucceeded() override;

    CLocalDb& m_db;
    ShellHost& m_host;
    SkinLabel* m_welcome;
    SkinLabel* m_idLabel;
    SkinEdit* m_operatorId;
    SkinLabel* m_passwordLabel;
    SkinEdit* m_password;
    ActionButton* m_login;
};

}  // namespace zelvo
