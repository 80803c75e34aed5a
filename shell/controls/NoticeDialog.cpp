#include "shell/controls/NoticeDialog.h"

#include <QKeyEvent>

#include "shell/controls/ActionButton.h"

namespace zelvo {
namespace {

constexpr int kButtonInset = 92;
constexpr int kButtonHeight = 38;

}  // namespace

NoticeDialog::NoticeDialog(IconKind kind, const QString& text, const QString& caption,
                           QWidget* owner)
    : SkinDialog(kind, text, owner), m_button(new ActionButton(caption, 18, 1, this)) {
    m_button->setGeometry(kButtonInset, height() - 68, width() - 2 * kButtonInset, kButtonHeight);
    m_button->SetFocusHighlight(true);
    connect(m_button, &ActionButton::Clicked, this, [this] { Finish(DialogResult::Confirm); });
    setFocusPolicy(Qt::StrongFocus);
}

void NoticeDialog::reject() {
    Finish(DialogResult::Confirm);
}

void NoticeDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
        case Qt::Key_Escape:
            Finish(DialogResult::Confirm);
            return;
        default:
            event->ignore();
    }
}

}  // namespace zelvo
