#pragma once

#include <memory>

#include "config/MisCilHolder.h"
#include "payment/FlowServices.h"
#include "shell/ShellPage.h"

namespace zelvo {

class PasswordPrompt;
class PopupPrompt;
class QueryPageViews;
class QueryRefundPanel;
class RefundFlow;
class RefundPrompt;
class Settlement;
class TransactionList;

// "查询和退款": the newest transactions, the order search, reprints, the refund prompt and the
// settlement prompt. A thin view over the list, refund and settlement logic.
class QueryRefundPage : public ShellPage {
    Q_OBJECT
public:
    QueryRefundPage(ShellHost& host, FlowServices services, QWidget* parent);
    ~QueryRefundPage() override;

    // The refund action ("退  款", RepealKey).
    void OpenRefund();
    // The settlement prompt ("结算汇总", SettleKey, Escape on any page).
    void OpenSettlement();

    void PreparePage() override;
    void HandleKeypadKey(int code) override;
    void KeypadOpened() override;
    bool PageBusy() const override;
    bool HandlePageKey(QKeyEvent& event) override;

    QueryRefundPanel& Panel() const { return *m_panel; }
    RefundPrompt& Refund() const { return *m_refundPrompt; }
    PasswordPrompt& SettlementPrompt() const { return *m_passwordPrompt; }
    TransactionList& List() const { return *m_list; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class KeyActions;

    void ConnectControls();
    void RunEnterAction();
    // The refund or settlement prompt that is open, if any.
    PopupPrompt* OpenPrompt() const;
    void ConfirmSettlement();
    void CancelSettlement();

    MisCilHolder m_holder;
    FlowServices m_services;
    QueryRefundPanel* m_panel;
    RefundPrompt* m_refundPrompt;
    PasswordPrompt* m_passwordPrompt;
    std::unique_ptr<QueryPageViews> m_views;
    std::unique_ptr<TransactionList> m_list;
    std::unique_ptr<RefundFlow> m_refund;
    std::unique_ptr<Settlement> m_settlement;
    bool m_swallowDown = false;
    // A settlement runs to its end (re-login question included) before another may start.
    bool m_settling = false;
};

}  // namespace zelvo
