#pragma once

#include "payment/RefundView.h"
#include "payment/SettlementView.h"
#include "payment/TransactionListView.h"
#include "shell/pages/PageCallbacks.h"

namespace zelvo {

class PasswordPrompt;
class QueryRefundPanel;
class RefundPrompt;

// The list, refund and settlement logic's view of the query and refund page.
class QueryPageViews : public TransactionListView, public RefundView, public SettlementView {
public:
    QueryPageViews(QueryRefundPanel& panel, RefundPrompt& refundPrompt,
                   PasswordPrompt& passwordPrompt, PageCallbacks callbacks,
                   std::function<void()> startPrintJob);

    // Shared by the three views.
    void ShowMessage(MessageKind kind, const std::u16string& text) override;
    std::u16string SearchText() const override;

    // TransactionListView
    void ShowRows(const std::vector<QueryRow>& rows) override;
    void SelectRow(std::size_t index) override;
    std::optional<std::size_t> SelectedRow() const override;
    void FocusGrid() override;
    void SetSearchText(const std::u16string& text) override;
    void FocusSearchBox() override;

    // RefundView
    bool NetworkUp() const override;
    bool GridHasFocus() const override;
    void ShowNotice(IconKind iconKind, const std::u16string& text,
                    const std::u16string& button) override;
    void OpenRefundPrompt(const std::u16string& orderNumber, const std::u16string& amount) override;
    void CloseRefundPrompt() override;
    void ResetPasswordBox() override;
    void CloseSettlementPrompt() override;
    void CloseKeypad() override;

    // SettlementView
    void ClearPasswordField() override;
    void ClosePasswordPrompt() override;
    void StartPrinting() override;
    void SettlementDone() override;

private:
    QueryRefundPanel& m_panel;
    RefundPrompt& m_refundPrompt;
    PasswordPrompt& m_passwordPrompt;
    PageCallbacks m_callbacks;
    std::function<void()> m_startPrintJob;
};

}  // namespace zelvo
