#include "shell/pages/PaymentPanelView.h"

#include <vector>

#include "shell/controls/AmountDisplay.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinDialog.h"
#include "shell/controls/SkinEdit.h"
#include "shell/pages/PaymentLogList.h"
#include "shell/pages/PaymentPanel.h"

namespace zelvo {
namespace {

QString ToQ(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

QWidget* Owner(const PageCallbacks& callbacks) {
    return callbacks.dialogOwner ? callbacks.dialogOwner() : DefaultDialogOwner();
}

void SetBoxText(QLineEdit& box, const std::u16string& text) {
    box.setText(ToQ(text));
    box.end(false);
}

}  // namespace

PaymentPanelView::PaymentPanelView(PaymentPanel& panel, PageCallbacks callbacks)
    : m_panel(panel), m_callbacks(std::move(callbacks)) {}

std::u16string PaymentPanelView::AmountBoxText() const {
    return m_panel.AmountBox()->text().toStdU16String();
}

std::u16string PaymentPanelView::CodeBoxText() const {
    return m_panel.CodeBox()->text().toStdU16String();
}

void PaymentPanelView::SetAmountBoxText(const std::u16string& text) {
    SetBoxText(*m_panel.AmountBox(), text);
}

void PaymentPanelView::SetCodeBoxText(const std::u16string& text) {
    SetBoxText(*m_panel.CodeBox(), text);
}

void PaymentPanelView::SetAmountDisplay(const std::u16string& text) {
    m_panel.Display()->SetAmount(ToQ(text));
}

void PaymentPanelView::FocusAmountBox() {
    m_panel.AmountBox()->setFocus(Qt::OtherFocusReason);
}

void PaymentPanelView::FocusCodeBox() {
    m_panel.CodeBox()->setFocus(Qt::OtherFocusReason);
}

bool PaymentPanelView::NetworkUp() const {
    return m_callbacks.networkUp && m_callbacks.networkUp();
}

void PaymentPanelView::CloseKeypad() {
    if (m_callbacks.closeKeypad) m_callbacks.closeKeypad();
}

void PaymentPanelView::ShowMessage(MessageKind kind, const std::u16string& text) {
    if (m_callbacks.showMessage) m_callbacks.showMessage(kind, ToQ(text));
}

void PaymentPanelView::ShowNotice(IconKind iconKind, const std::u16string& text,
                                  const std::u16string& button) {
    ::zelvo::ShowNotice(iconKind, ToQ(text), ToQ(button), Owner(m_callbacks));
}

bool PaymentPanelView::ShowConfirm(IconKind iconKind, const std::u16string& text,
                                   const std::u16string& confirmButton,
                                   const std::u16string& cancelButton) {
    return AskConfirm(iconKind, ToQ(text), ToQ(confirmButton), ToQ(cancelButton),
                      Owner(m_callbacks)) == DialogResult::Confirm;
}

void PaymentPanelView::OpenWaitingPrompt(IconKind iconKind, const std::u16string& text,
                                         const std::u16string& queryButton,
                                         const std::u16string& cancelButton) {
    m_panel.OpenWaitingPrompt(iconKind, ToQ(text), ToQ(queryButton), ToQ(cancelButton));
}

void PaymentPanelView::CloseWaitingPrompt() {
    m_panel.CloseWaitingPrompt();
}

void PaymentPanelView::ShowPaymentLog(const std::deque<PaymentLogLine>& lines) {
    std::vector<ListRow> rows;
    for (const PaymentLogLine& line : lines) {
        rows.push_back({static_cast<int>(line.kind), ToQ(line.text)});
    }
    m_panel.LogList()->SetRows(std::move(rows));
}

}  // namespace zelvo
