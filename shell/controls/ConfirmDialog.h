#pragma once

#include <functional>

#include "shell/controls/SkinDialog.h"

namespace zelvo {

class TabButton;

// The two-button question. Enter confirms unless the cancel button has the focus; Escape
// cancels; Tab moves the focus and the selected look to the other button. In query mode the
// confirm answer runs the owner's operation and leaves the dialog open.
class ConfirmDialog : public SkinDialog {
    Q_OBJECT
public:
    ConfirmDialog(IconKind kind, const QString& text, const QString& confirmCaption,
                  const QString& cancelCaption, QWidget* owner = nullptr);

    void SetQueryOperation(std::function<void()> operation);
    void SetQueryMode(bool on);
    bool QueryMode() const { return m_queryMode; }
    // Ends query mode and closes the dialog as confirmed (the owner's outcome has arrived).
    void CloseConfirmed();

    bool CancelHasFocus() const { return m_cancelFocused; }
    TabButton* ConfirmButton() const { return m_confirm; }
    TabButton* CancelButton() const { return m_cancel; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void Confirm();
    void MoveFocus(bool toCancel);

    TabButton* m_confirm;
    TabButton* m_cancel;
    std::function<void()> m_queryOperation;
    bool m_queryMode = false;
    bool m_cancelFocused = false;
};

}  // namespace zelvo
