#include "shell/login/ChangePasswordPage.h"

#include <QKeyEvent>
#include <QPainter>

#include "shell/Layout.h"
#include "shell/Restart.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/KeypadInput.h"
#include "shell/controls/Skin.h"
#include "shell/controls/SkinEdit.h"
#include "shell/controls/SkinLabel.h"
#include "operator/CurrentOperator.h"
#include "shell/ShellHost.h"

namespace zelvo {
namespace {

constexpr int kButtonIndex = 4;

bool IsEnter(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

}  // namespace

ChangePasswordPage::ChangePasswordPage(CLocalDb& db, ShellHost& host, QWidget* parent)
    : ShellPage(PageId::ChangePassword, host, parent),
      m_db(db),
      m_title(new SkinLabel(QStringLiteral("修改操作员密码"), SmallScreenMode() ? 14 : 18,
                            Qt::AlignHCenter, this)),
      m_confirm(new ActionButton(QStringLiteral("确认修改"), 18, 0, this)) {
    const QString captions[] = {QStringLiteral("操作员ID:"), QStringLiteral("原密码:"),
                                QStringLiteral("新密码:"), QStringLiteral("重复密码:")};
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        m_labels[i] = new SkinLabel(captions[i], 12, Qt::AlignLeft, this);
        m_boxes[i] = new SkinEdit(18, true, this);
        m_boxes[i]->SetPasswordStyle(i > 0);
        m_boxes[i]->installEventFilter(this);
    }
    setFocusPolicy(Qt::StrongFocus);
    connect(m_confirm, &ActionButton::Clicked, this, [this] { Submit(); });
}

SkinEdit* ChangePasswordPage::Box(PasswordBox box) const {
    return m_boxes[static_cast<size_t>(box)];
}

QRect ChangePasswordPage::PanelRect() const {
    const LayoutScale& scale = GetLayoutScale();
    int panelWidth = scale.X(300);
    return QRect((width() - panelWidth) / 2, scale.Y(25), panelWidth, height() - 2 * scale.Y(25));
}

void ChangePasswordPage::resizeEvent(QResizeEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    QRect panel = PanelRect();
    int left = panel.left() + scale.X(30);
    int columnWidth = panel.width() - 2 * scale.X(30);
    int y = panel.top() + scale.Y(30);
    m_title->setGeometry(panel.left(), y, panel.width(), scale.Y(20));
    y += scale.Y(20);
    const int gapsAbove[] = {30, 10, 35, 10};
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        y += scale.Y(gapsAbove[i]);
        m_labels[i]->setGeometry(left, y, columnWidth, 12);
        y += 12 + scale.Y(6);
        m_boxes[i]->setGeometry(left, y, columnWidth, scale.Y(26));
        y += scale.Y(26);
    }
    m_confirm->setGeometry(left - 2, y + scale.Y(30), columnWidth + 4, scale.Y(38));
}

void ChangePasswordPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::Page);
    painter.fillRect(PanelRect(), Qt::white);
}

void ChangePasswordPage::PreparePage() {
    for (SkinEdit* box : m_boxes) box->clear();
    FocusIndex(0);
}

int ChangePasswordPage::FocusedIndex() const {
    if (m_buttonFocused) return kButtonIndex;
    for (size_t i = 0; i < m_boxes.size(); ++i) {
        if (m_boxes[i]->hasFocus()) return static_cast<int>(i);
    }
    return -1;
}

void ChangePasswordPage::FocusIndex(int index) {
    m_buttonFocused = index == kButtonIndex;
    m_confirm->SetFocusHighlight(m_buttonFocused);
    if (m_buttonFocused) {
        setFocus(Qt::TabFocusReason);
    } else {
        m_boxes[static_cast<size_t>(index)]->setFocus(Qt::TabFocusReason);
    }
}

bool ChangePasswordPage::focusNextPrevChild(bool next) {
    int index = FocusedIndex();
    int count = kButtonIndex + 1;
    FocusIndex(index < 0 ? 0 : (index + (next ? 1 : count - 1)) % count);
    return true;
}

bool ChangePasswordPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && IsEnter(*static_cast<QKeyEvent*>(event))) {
        HandleEnter();
        return true;
    }
    if (event->type() == QEvent::FocusIn && m_buttonFocused) {
        m_buttonFocused = false;
        m_confirm->SetFocusHighlight(false);
    }
    return ShellPage::eventFilter(watched, event);
}

void ChangePasswordPage::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(*event)) {
        HandleEnter();
        return;
    }
    ShellPage::keyPressEvent(event);
}

void ChangePasswordPage::HandleEnter() {
    int index = FocusedIndex();
    if (index >= 0 && index < static_cast<int>(PasswordBox::RepeatPassword)) {
        FocusIndex(index + 1);
        return;
    }
    Submit();
}

void ChangePasswordPage::HandleKeypadKey(int code) {
    if (code == KeypadKey::Confirm) {
        Host().CloseKeypad();
        HandleEnter();
        return;
    }
    int index = FocusedIndex();
    if (index >= 0 && index < kButtonIndex) {
        ApplyKeypadCode(*m_boxes[static_cast<size_t>(index)], code);
    }
}

void ChangePasswordPage::Submit() {
    PasswordChange change{m_boxes[0]->text().toStdU16String(), m_boxes[1]->text().toStdU16String(),
                          m_boxes[2]->text().toStdU16String(), m_boxes[3]->text().toStdU16String()};
    ChangePasswordLogic logic(m_db, GetCurrentOperator(), *this, [] { RestartApplication(); });
    logic.Submit(change);
}

void ChangePasswordPage::ShowMessage(MessageKind kind, const std::u16string& text) {
    Host().ShowMessage(kind, QString::fromStdU16String(text));
}

void ChangePasswordPage::Focus(PasswordBox box) {
    FocusIndex(static_cast<int>(box));
}

void ChangePasswordPage::Clear(PasswordBox box) {
    Box(box)->clear();
}

}  // namespace zelvo
