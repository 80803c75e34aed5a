#include "shell/controls/ConfirmDialog.h"

#include <QKeyEvent>

#include "shell/controls/Skin.h"
#include "shell/controls/TabButton.h"

namespace zelvo {
namespace {

constexpr int kButtonWidth = 115;
constexpr int kButtonHeight = 38;

}  // namespace

ConfirmDialog::ConfirmDialog(IconKind kind, const QString& text, const QString& confirmCaption,
                             const QString& cancelCaption, QWidget* owner)
    : SkinDialog(kind, text, owner),
      m_confirm(new TabButton(confirmCaption, 18, skin::AccentLight,
                              static_cast<int>(DialogResult::Confirm), this)),
      m_cancel(new TabButton(cancelCaption, 18, skin::AccentLight,
                             static_cast<int>(DialogResult::Cancel), this)) {
    int top = height() - 68;
    m_confirm->setGeometry(46, top, kButtonWidth, kButtonHeight);
    m_cancel->setGeometry(width() - 161, top, kButtonWidth, kButtonHeight);
    connect(m_confirm, &TabButton::Clicked, this, [this] { Confirm(); });
    connect(m_cancel, &TabButton::Clicked, this, [this] { Finish(DialogResult::Cancel); });
    setFocusPolicy(Qt::StrongFocus);
    MoveFocus(false);
}

void ConfirmDialog::SetQueryOperation(std::function<void()> operation) {
    m_queryOperation = std::move(operation);
}

void ConfirmDialog::SetQueryMode(bool on) {
    m_queryMode = on;
}

void ConfirmDialog::CloseConfirmed() {
    m_queryMode = false;
    Finish(DialogResult::Confirm);
}

void ConfirmDialog::Confirm() {
    if (m_queryMode && m_queryOperation) {
        m_queryOperation();
        return;
    }
    Finish(DialogResult::Confirm);
}

void ConfirmDialog::MoveFocus(bool toCancel) {
    m_cancelFocused = toCancel;
    m_confirm->SetSelected(!toCancel);
    m_cancel->SetSelected(toCancel);
}

bool ConfirmDialog::focusNextPrevChild(bool) {
    MoveFocus(!m_cancelFocused);
    return true;
}

void ConfirmDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (m_cancelFocused) {
                Finish(DialogResult::Cancel);
            } else {
                Confirm();
            }
            return;
        case Qt::Key_Escape:
            Finish(DialogResult::Cancel);
            return;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            MoveFocus(!m_cancelFocused);
            return;
        default:
            event->ignore();
    }
}

}  // namespace zelvo
