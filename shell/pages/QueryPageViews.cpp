#include "shell/pages/QueryPageViews.h"

#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinEdit.h"
#include "operator/CurrentOperator.h"
#include "shell/login/ReloginPrompt.h"
#include "shell/pages/PasswordPrompt.h"
#include "shell/pages/QueryRefundPanel.h"
#include "shell/pages/RefundPrompt.h"
#include "shell/pages/TransactionGrid.h"

namespace zelvo {
namespace {

QString ToQ(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

QueryPageViews::QueryPageViews(QueryRefundPanel& panel, RefundPrompt& refundPrompt,
                               PasswordPrompt& passwordPrompt, PageCallbacks callbacks,
                               std::function<void()> startPrintJob)
    : m_panel(panel),
      m_refundPrompt(refundPrompt),
      m_passwordPrompt(passwordPrompt),
      m_callbacks(std::move(callbacks)),
      m_startPrintJob(std::move(startPrintJob)) {}

void QueryPageViews::ShowMessage(MessageKind kind, const std::u16string& text) {
    if (m_callbacks.showMessage) m_callbacks.showMessage(kind, ToQ(text));
}

std::u16string QueryPageViews::SearchText() const {
    return m_panel.SearchBox()->text().toStdU16String();
}

void QueryPageViews::ShowRows(const std::vector<QueryRow>& rows) {
    m_panel.Grid()->SetRows(rows);
}

void QueryPageViews::SelectRow(std::size_t index) {
    m_panel.Grid()->selectRow(static_cast<int>(index));
}

std::optional<std::size_t> QueryPageViews::SelectedRow() const {
    const QList<QTableWidgetItem*> selected = m_panel.Grid()->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(selected.front()->row());
}

void QueryPageViews::FocusGrid() {
    m_panel.Grid()->setFocus(Qt::OtherFocusReason);
}

void QueryPageViews::SetSearchText(const std::u16string& text) {
    m_panel.SearchBox()->setText(ToQ(text));
}

void QueryPageViews::FocusSearchBox() {
    m_panel.SearchBox()->setFocus(Qt::OtherFocusReason);
}

bool QueryPageViews::NetworkUp() const {
    return m_callbacks.networkUp && m_callbacks.networkUp();
}

bool QueryPageViews::GridHasFocus() const {
    return m_panel.focusWidget() == m_panel.Grid();
}

void QueryPageViews::ShowNotice(IconKind iconKind, const std::u16string& text,
                                const std::u16string& button) {
    ::zelvo::ShowNotice(iconKind, ToQ(text), ToQ(button),
                        m_callbacks.dialogOwner ? m_callbacks.dialogOwner() : DefaultDialogOwner());
}

void QueryPageViews::OpenRefundPrompt(const std::u16string& orderNumber,
                                      const std::u16string& amount) {
    m_refundPrompt.OpenWith(ToQ(orderNumber), ToQ(amount));
}

void QueryPageViews::CloseRefundPrompt() {
    m_refundPrompt.Close();
}

void QueryPageViews::ResetPasswordBox() {
    m_refundPrompt.ResetPasswordBox();
}

void QueryPageViews::CloseSettlementPrompt() {
    m_passwordPrompt.Close();
}

void QueryPageViews::CloseKeypad() {
    if (m_callbacks.closeKeypad) m_callbacks.closeKeypad();
}

void QueryPageViews::ClearPasswordField() {
    m_passwordPrompt.ClearPassword();
}

void QueryPageViews::ClosePasswordPrompt() {
    m_passwordPrompt.Close();
}

void QueryPageViews::StartPrinting() {
    if (m_startPrintJob) m_startPrintJob();
}

void QueryPageViews::SettlementDone() {
    CloseKeypad();
    FocusSearchBox();
    if (EndOfShiftFlag()) ReloginPrompt();
}

}  // namespace zelvo
