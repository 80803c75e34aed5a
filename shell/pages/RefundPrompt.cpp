#include "shell/pages/RefundPrompt.h"

#include "payment/PaymentInput.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/SkinEdit.h"
#include "shell/controls/SkinLabel.h"
#include "shell/controls/TabButton.h"

namespace zelvo {
namespace {

constexpr int kBoxFont = 24;
constexpr int kLabelLeft = 20;
constexpr int kLabelWidth = 110;
constexpr int kBoxLeft = 130;
constexpr int kBoxWidth = 230;
constexpr int kRowHeight = 30;
constexpr int kFirstRow = 60;
constexpr int kRowPitch = 36;
// Order numbers are a few dozen characters at most.
constexpr int kOrderMaxLength = 64;
constexpr int kPasswordMaxLength = 49;

}  // namespace

RefundPrompt::RefundPrompt(QWidget* parent)
    : PopupPrompt(QStringLiteral("确  定"), QStringLiteral("取  消"), parent),
      m_order(new SkinEdit(kBoxFont, true, this)),
      m_amount(new AmountEdit(9, 2, kBoxFont, true, this)),
      m_password(new SkinEdit(kBoxFont, true, this)) {
    auto* title =
        new SkinLabel(QStringLiteral("请输入要退款的金额和订单号"), 16, Qt::AlignHCenter, this);
    title->setGeometry(0, 30, kWidth, 20);
    const QString labels[] = {QStringLiteral("订单号："), QStringLiteral("退款金额："),
                              QStringLiteral("管理员密码：")};
    QLineEdit* boxes[] = {m_order, m_amount, m_password};
    for (int row = 0; row < 3; ++row) {
        const int top = kFirstRow + row * kRowPitch;
        auto* label = new SkinLabel(labels[row], 14, Qt::AlignRight | Qt::AlignVCenter, this);
        label->setGeometry(kLabelLeft, top, kLabelWidth, kRowHeight);
        boxes[row]->setGeometry(kBoxLeft, top, kBoxWidth, kRowHeight);
        AddBox(boxes[row]);
    }
    m_order->setMaxLength(kOrderMaxLength);
    m_order->SetShrinkToFit(true);
    m_password->setMaxLength(kPasswordMaxLength);
    m_password->SetPasswordStyle(true);
}

void RefundPrompt::OpenWith(const QString& orderNumber, const QString& amount) {
    m_order->setText(orderNumber);
    // The digits that tell orders apart are at the end; the reading starts at the first.
    m_order->home(false);
    m_amount->setText(amount);
    m_password->clear();
    Open();
}

void RefundPrompt::FocusFirst() {
    FocusControl(ConfirmButton());
}

void RefundPrompt::ResetPasswordBox() {
    m_password->clear();
    FocusControl(m_password);
}

void RefundPrompt::ApplyKeypadToBox(QLineEdit& box, int code) {
    if (&box != m_amount) {
        PopupPrompt::ApplyKeypadToBox(box, code);
        return;
    }
    std::u16string text = box.text().toStdU16String();
    ApplyAmountKeypadKey(text, code);
    box.setText(QString::fromStdU16String(text));
    box.end(false);
}

}  // namespace zelvo
