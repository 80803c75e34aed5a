#include "shell/pages/PaymentPanel.h"

#include <QKeyEvent>
#include <QPainter>

#include "payment/PaymentFlow.h"
#include "payment/PaymentInput.h"
#include "shell/Layout.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/AmountDisplay.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/BusyIndicator.h"
#include "shell/controls/ConfirmDialog.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/Skin.h"
#include "shell/controls/SkinEdit.h"
#include "shell/controls/SkinLabel.h"
#include "shell/pages/PaymentLogList.h"

namespace zelvo {
namespace {

constexpr int kBoxFontSize = 18;
// A scanner types at most a few dozen characters; anything longer is not a payment code.
constexpr int kCodeMaxLength = 64;

int LabelHeight() {
    return SmallScreenMode() ? 12 : 15;
}
bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

PaymentPanel::PaymentPanel(QWidget* parent)
    : QWidget(parent),
      m_amountLabel(new SkinLabel(QStringLiteral("金额(元):"), LabelHeight(), Qt::AlignLeft, this)),
      m_amountBox(new AmountEdit(static_cast<int>(kAmountMaxLength),
                                 static_cast<int>(kAmountMaxDecimals), kBoxFontSize, true, this)),
      m_codeLabel(new SkinLabel(QStringLiteral("付款码:"), LabelHeight(), Qt::AlignLeft, this)),
      m_codeBox(new SkinEdit(kBoxFontSize, true, this)),
      m_display(new AmountDisplay(40, 14, this)),
      m_confirm(new ActionButton(QStringLiteral("确认支付"), 20, 0, this)),
      m_busy(new BusyIndicator(m_confirm)),
      m_log(new PaymentLogList(this)) {
    m_confirm->SetFace(skin::Face::Hei);
    connect(m_busy, &BusyIndicator::BusyChanged, m_confirm, &ActionButton::SetDimmed);
    m_codeBox->setMaxLength(kCodeMaxLength);
    for (QWidget* control : {static_cast<QWidget*>(m_amountBox), static_cast<QWidget*>(m_codeBox),
                             static_cast<QWidget*>(m_confirm)}) {
        control->installEventFilter(this);
    }
    m_confirm->setFocusPolicy(Qt::StrongFocus);
    connect(m_confirm, &ActionButton::Clicked, this, [this] {
        if (m_flow) m_flow->ConfirmPayment();
    });
}

PaymentPanel::~PaymentPanel() = default;

void PaymentPanel::SetBusyCheck(std::function<bool()> busy) {
    m_busy->SetBusyCheck(std::move(busy));
}

bool PaymentPanel::AmountBoxFocused() const {
    return focusWidget() == m_amountBox;
}

void PaymentPanel::PlaceControls() {
    const LayoutScale& scale = GetLayoutScale();
    const int left = scale.X(60);
    const int boxWidth = scale.X(435);
    int top = scale.Y(50);
    m_amountLabel->setGeometry(left, top, boxWidth, LabelHeight());
    top += LabelHeight() + scale.Y(6);
    m_amountBox->setGeometry(left, top, boxWidth, scale.Y(30));
    top += scale.Y(30) + scale.Y(15);
    m_codeLabel->setGeometry(left, top, boxWidth, LabelHeight());
    top += LabelHeight() + scale.Y(6);
    m_codeBox->setGeometry(left, top, boxWidth, scale.Y(30));
    m_display->setGeometry(scale.X(555), scale.Y(30), width() - scale.X(30) - scale.X(555),
                           scale.Y(160));
    m_confirm->setGeometry(scale.X(30), scale.Y(220), width() - 2 * scale.X(30), scale.Y(48));
    // The ring sits just left of the centred caption.
    const int ring = scale.Y(26);
    m_busy->setGeometry(m_confirm->width() / 2 - scale.X(50) - ring - scale.X(12),
                        (m_confirm->height() - ring) / 2, ring, ring);
    m_log->setGeometry(0, scale.Y(354), width(), height() - scale.Y(354));
}

void PaymentPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceControls();
}

void PaymentPanel::paintEvent(QPaintEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    QPainter painter(this);
    painter.fillRect(rect(), skin::Page);
    painter.fillRect(QRect(QPoint(scale.X(30), scale.Y(30)), QPoint(scale.X(525), scale.Y(190))),
                     Qt::white);
    const QRect strip(0, scale.Y(298), width(), scale.Y(36));
    painter.fillRect(strip, skin::Panel);
    painter.setPen(skin::Frame);
    painter.drawLine(strip.bottomLeft(), strip.bottomRight());
    painter.setPen(skin::LabelText);
    painter.setFont(skin::Font(14, true));
    painter.drawText(strip.adjusted(scale.X(30), 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("收款日志"));
}

bool PaymentPanel::eventFilter(QObject* watched, QEvent* event) {
    if (!m_flow) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyRelease && watched == m_amountBox) {
        m_flow->AmountEdited();
    }
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Tab) {
        if (watched == m_amountBox) {
            m_codeBox->setFocus(Qt::TabFocusReason);
        } else {
            m_amountBox->setFocus(Qt::TabFocusReason);
            m_amountBox->selectAll();
        }
        return true;
    }
    if (IsEnter(key)) {
        if (watched == m_amountBox) {
            m_flow->EnterInAmountBox();
        } else {
            m_flow->ConfirmPayment();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PaymentPanel::OpenWaitingPrompt(IconKind iconKind, const QString& text,
                                     const QString& queryButton, const QString& cancelButton) {
    // A fresh prompt for every wait, so that each starts with "查询结果" focused.
    if (m_prompt) m_prompt->deleteLater();
    m_prompt = new ConfirmDialog(iconKind, text, queryButton, cancelButton, window());
    m_prompt->SetQueryOperation([this] {
        if (m_flow) m_flow->QueryNow();
    });
    m_prompt->SetQueryMode(true);
    connect(m_prompt, &QDialog::finished, this, &PaymentPanel::OnPromptFinished);
    m_promptClosedByFlow = false;
    const QRect area = window()->frameGeometry();
    m_prompt->move(area.center() - m_prompt->rect().center());
    // Modal for the operator, but the event loop stays the page's, so answers keep arriving.
    m_prompt->setWindowModality(Qt::ApplicationModal);
    m_prompt->open();
}

void PaymentPanel::CloseWaitingPrompt() {
    if (!m_prompt || !m_prompt->isVisible()) return;
    m_promptClosedByFlow = true;
    m_prompt->CloseConfirmed();
}

void PaymentPanel::OnPromptFinished(int result) {
    if (m_promptClosedByFlow || result != static_cast<int>(DialogResult::Cancel)) return;
    if (m_flow) m_flow->CancelWaiting();
}

}  // namespace zelvo
