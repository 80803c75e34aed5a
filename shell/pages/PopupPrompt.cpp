#include "shell/pages/PopupPrompt.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include "shell/controls/KeypadInput.h"
#include "shell/controls/Skin.h"
#include "shell/controls/TabButton.h"

namespace zelvo {
namespace {

constexpr int kBand = 20;
constexpr int kButtonWidth = 115;
constexpr int kButtonHeight = 38;
constexpr int kRaise = 22;

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

PopupPrompt::PopupPrompt(const QString& confirmCaption, const QString& cancelCaption,
                         QWidget* parent)
    // A window of its own, so that it also shows over the other pages (Escape opens the
    // settlement prompt from any page).
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_confirm(new TabButton(confirmCaption, 18, skin::AccentLight, 0, this)),
      m_cancel(new TabButton(cancelCaption, 18, skin::AccentLight, 0, this)) {
    setFixedSize(kWidth, kHeight);
    const int top = kHeight - 68;
    m_confirm->setGeometry(46, top, kButtonWidth, kButtonHeight);
    m_cancel->setGeometry(kWidth - 161, top, kButtonWidth, kButtonHeight);
    for (TabButton* button : {m_confirm, m_cancel}) {
        button->setFocusPolicy(Qt::StrongFocus);
        button->installEventFilter(this);
    }
    connect(m_confirm, &TabButton::Clicked, this, &PopupPrompt::ConfirmRequested);
    connect(m_cancel, &TabButton::Clicked, this, &PopupPrompt::CancelRequested);
    hide();
}

void PopupPrompt::AddBox(QLineEdit* box) {
    m_boxes.push_back(box);
    box->installEventFilter(this);
}

void PopupPrompt::Open() {
    if (QWidget* page = parentWidget()) {
        const QPoint centre = page->mapToGlobal(page->rect().center());
        move(centre.x() - width() / 2, centre.y() - height() / 2 - kRaise);
    }
    show();
    raise();
    // Opened by the operator from our own window: the keyboard follows at once.
    if (QApplication::activeWindow()) {
        QApplication::setActiveWindow(this);
    } else {
        activateWindow();
    }
    FocusFirst();
}

void PopupPrompt::Close() {
    const bool hadKeyboard = isActiveWindow();
    hide();
    // The keyboard goes back to the page the prompt was opened over.
    if (hadKeyboard && parentWidget()) QApplication::setActiveWindow(parentWidget()->window());
}

std::vector<QWidget*> PopupPrompt::FocusCycle() const {
    std::vector<QWidget*> cycle(m_boxes.begin(), m_boxes.end());
    cycle.push_back(m_confirm);
    cycle.push_back(m_cancel);
    return cycle;
}

void PopupPrompt::FocusControl(QWidget* control) {
    control->setFocus(Qt::OtherFocusReason);
    // The buttons show the keyboard focus by their selected look.
    m_confirm->SetSelected(control == m_confirm);
    m_cancel->SetSelected(control == m_cancel);
}

void PopupPrompt::OnEnter(QWidget* from) {
    if (from == m_cancel) {
        Q_EMIT CancelRequested();
        return;
    }
    if (from == m_confirm) {
        EnterOnConfirm();
        return;
    }
    auto box = std::find(m_boxes.begin(), m_boxes.end(), from);
    if (box == m_boxes.end()) return;
    if (box + 1 != m_boxes.end()) {
        FocusControl(*(box + 1));
        return;
    }
    FocusControl(m_confirm);
    Q_EMIT ConfirmRequested();
}

void PopupPrompt::HandleKeypadKey(int code) {
    QWidget* focused = focusWidget();
    if (code == KeypadKey::Confirm) {
        // The keypad's "确  认" also confirms from the confirm button, where Enter may not.
        if (focused == m_confirm) {
            Q_EMIT ConfirmRequested();
        } else {
            OnEnter(focused);
        }
        return;
    }
    for (QLineEdit* box : m_boxes) {
        if (box == focused) ApplyKeypadToBox(*box, code);
    }
}

void PopupPrompt::ApplyKeypadToBox(QLineEdit& box, int code) {
    ApplyKeypadCode(box, code);
}

bool PopupPrompt::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    auto* control = static_cast<QWidget*>(watched);
    if (key == Qt::Key_Tab) {
        const std::vector<QWidget*> cycle = FocusCycle();
        auto at = std::find(cycle.begin(), cycle.end(), control);
        if (at != cycle.end()) {
            FocusControl(at + 1 == cycle.end() ? cycle.front() : *(at + 1));
            return true;
        }
    }
    if (IsEnter(key)) {
        OnEnter(control);
        return true;
    }
    // The prompt's keys never reach the page's, so Escape here does what "取  消" does; a held
    // Escape that has just opened the settlement prompt from the page does not close it again.
    if (key == Qt::Key_Escape && !keyEvent->isAutoRepeat()) {
        Q_EMIT CancelRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PopupPrompt::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(0, 0, width(), kBand, skin::DarkBar);
    painter.setPen(skin::Frame);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace zelvo
