#include "shell/login/LoginPanel.h"

#include <QKeyEvent>
#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/KeypadInput.h"
#include "shell/controls/PictureStrip.h"
#include "shell/controls/Skin.h"
#include "shell/controls/SkinEdit.h"
#include "shell/controls/SkinLabel.h"
#include "operator/CurrentOperator.h"
#include "shell/ShellHost.h"

namespace zelvo {
namespace {

const QColor kCardFrame{0x9B, 0x9B, 0x9B};

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

}  // namespace

LoginPanel::LoginPanel(CLocalDb& db, ShellHost& host, const QString& welcome, QWidget* parent)
    : QWidget(parent),
      m_db(db),
      m_host(host),
      m_welcome(new SkinLabel(welcome, 14, Qt::AlignHCenter, this)),
      m_idLabel(new SkinLabel(QStringLiteral("操作员ID"), 12, Qt::AlignLeft, this)),
      m_operatorId(new SkinEdit(18, true, this)),
      m_passwordLabel(new SkinLabel(QStringLiteral("登录密码"), 12, Qt::AlignLeft, this)),
      m_password(new SkinEdit(18, true, this)),
      m_login(new ActionButton(QStringLiteral("登  录"), 18, 0, this)) {
    m_password->SetPasswordStyle(true);
    m_operatorId->installEventFilter(this);
    m_password->installEventFilter(this);
    connect(m_login, &ActionButton::Clicked, this, [this] { Submit(); });
}

QRect LoginPanel::CardRect() const {
    const LayoutScale& scale = GetLayoutScale();
    int cardWidth = scale.X(300);
    return QRect(QPoint((width() - cardWidth) / 2, scale.Y(33)),
                 QPoint((width() - cardWidth) / 2 + cardWidth - 1, scale.Y(460) - 1));
}

void LoginPanel::resizeEvent(QResizeEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    QRect card = CardRect();
    int left = card.left() + scale.X(30);
    int columnWidth = card.width() - 2 * scale.X(30);
    int y = card.top() + 67 + scale.Y(65);
    m_welcome->setGeometry(left, y, columnWidth, 14);
    y += 14 + scale.Y(30);
    m_idLabel->setGeometry(left, y, columnWidth, 12);
    y += 12 + scale.Y(6);
    m_operatorId->setGeometry(left, y, columnWidth, scale.Y(26));
    y += scale.Y(26) + scale.Y(15);
    m_passwordLabel->setGeometry(left, y, columnWidth, 12);
    y += 12 + scale.Y(6);
    m_password->setGeometry(left, y, columnWidth, scale.Y(26));
    int buttonTop = card.bottom() + 1 - scale.Y(87);
    m_login->setGeometry(left - 2, buttonTop, columnWidth + 4,
                         card.bottom() + 1 - scale.Y(45) - buttonTop);
}

void LoginPanel::paintEvent(QPaintEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    QPainter painter(this);
    painter.fillRect(rect(), skin::Panel);
    QRect card = CardRect();
    painter.fillRect(card, Qt::white);
    painter.setPen(QPen(kCardFrame, 1));
    painter.drawRect(card.adjusted(0, 0, -1, -1));
    QPixmap logo = skin::LoadPicture(QStringLiteral("img1.png"));
    painter.drawPixmap(card.center().x() - 75 / 2, card.top() + scale.Y(45), logo);
    int lineY = card.top() + scale.Y(298);
    painter.drawLine(card.left() + scale.X(29), lineY, card.right() - scale.X(29), lineY);
    int gap = scale.X(12);
    int stripLeft = card.center().x() - PictureStripWidth(gap) / 2;
    DrawPictureStrip(painter, QPoint(stripLeft, card.bottom() + 1 + scale.Y(30)), gap);
}

void LoginPanel::ClearLogin() {
    m_operatorId->clear();
    m_password->clear();
    m_operatorId->setFocus();
}

bool LoginPanel::focusNextPrevChild(bool) {
    // Tab goes between the two boxes only.
    if (m_operatorId->hasFocus()) {
        m_password->setFocus(Qt::TabFocusReason);
    } else {
        m_operatorId->setFocus(Qt::TabFocusReason);
    }
    return true;
}

bool LoginPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // The box the Enter reached decides, not where the focus happens to be.
            if (watched == m_password) {
                Submit();
            } else {
                HandleEnter();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LoginPanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        HandleEnter();
        return;
    }
    QWidget::keyPressEvent(event);
}

void LoginPanel::HandleEnter() {
    if (m_operatorId->hasFocus()) {
        m_password->setFocus();
        return;
    }
    Submit();
}

void LoginPanel::HandleKeypadKey(int code) {
    if (code == KeypadKey::Confirm) {
        m_host.CloseKeypad();
        HandleEnter();
        return;
    }
    SkinEdit* box = m_operatorId->hasFocus() ? m_operatorId
                    : m_password->hasFocus() ? m_password
                                             : nullptr;
    if (box) ApplyKeypadCode(*box, code);
}

void LoginPanel::Submit() {
    LoginLogic logic(m_db, GetCurrentOperator(), *this);
    logic.Submit(ToU16(m_operatorId->text()), ToU16(m_password->text()));
}

void LoginPanel::ShowMessage(MessageKind kind, const std::u16string& text) {
    m_host.ShowMessage(kind, ToQString(text));
}

void LoginPanel::FocusOperatorId() {
    m_operatorId->setFocus();
}

void LoginPanel::FocusPassword() {
    m_password->setFocus();
}

void LoginPanel::ClearBoxes() {
    m_operatorId->clear();
    m_password->clear();
    repaint();
}

void LoginPanel::LoginSucceeded() {
    Q_EMIT LoginSucceededSignal();
}

}  // namespace zelvo
