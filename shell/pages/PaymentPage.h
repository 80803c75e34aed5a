#pragma once

#include <memory>

#include "config/MisCilHolder.h"
#include "payment/FlowServices.h"
#include "shell/ShellPage.h"

namespace zelvo {

class PaymentFlow;
class PaymentPanel;
class PaymentPanelView;

// "我要收款": the payment page, a thin view over the payment flow.
class PaymentPage : public ShellPage {
    Q_OBJECT
public:
    PaymentPage(ShellHost& host, FlowServices services, QWidget* parent);
    ~PaymentPage() override;

    // The amount read off the till's screen; the payment code box takes the focus.
    void SetAmount(const QString& amount);

    PaymentPanel& Panel() const { return *m_panel; }
    PaymentFlow& Flow() const { return *m_flow; }

    void PreparePage() override;
    void HandleKeypadKey(int code) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    MisCilHolder m_holder;
    PaymentPanel* m_panel;
    std::unique_ptr<PaymentPanelView> m_view;
    std::unique_ptr<PaymentFlow> m_flow;
};

}  // namespace zelvo
