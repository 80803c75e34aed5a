#pragma once

#include "shell/controls/SkinDialog.h"

namespace zelvo {

class ActionButton;

// The one-button message ("我知道了"): its button has the focus from the start, and every way
// of closing it answers 1.
class NoticeDialog : public SkinDialog {
    Q_OBJECT
public:
    NoticeDialog(IconKind kind, const QString& text, const QString& caption,
                 QWidget* owner = nullptr);

    ActionButton* Button() const { return m_button; }

public Q_SLOTS:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ActionButton* m_button;
};

}  // namespace zelvo
