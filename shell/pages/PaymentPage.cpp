#include "shell/pages/PaymentPage.h"

#include "payment/ExchangeRunner.h"
#include "payment/PaymentFlow.h"
#include "shell/pages/PageCallbacks.h"
#include "shell/pages/PaymentPanel.h"
#include "shell/pages/PaymentPanelView.h"
#include "shell/ShellHost.h"

namespace zelvo {

PaymentPage::PaymentPage(ShellHost& host, FlowServices services, QWidget* parent)
    : ShellPage(PageId::Payment, host, parent),
      m_panel(new PaymentPanel(this)),
      m_view(std::make_unique<PaymentPanelView>(*m_panel, MakePageCallbacks(host))) {
    ExchangeRunner& exchanges = services.exchanges;
    m_flow = std::make_unique<PaymentFlow>(*m_view, std::move(services));
    m_panel->SetFlow(m_flow.get());
    m_panel->SetBusyCheck([&exchanges] { return exchanges.IsRunning(); });
}

PaymentPage::~PaymentPage() {
    // The panel's keys must not reach a flow that is gone.
    m_panel->SetFlow(nullptr);
}

void PaymentPage::SetAmount(const QString& amount) {
    m_flow->SetAmount(amount.toStdU16String());
}

void PaymentPage::PreparePage() {
    m_flow->Activate();
}

void PaymentPage::HandleKeypadKey(int code) {
    m_flow->KeypadKey(code, m_panel->AmountBoxFocused());
}

void PaymentPage::resizeEvent(QResizeEvent* event) {
    ShellPage::resizeEvent(event);
    m_panel->setGeometry(rect());
}

}  // namespace zelvo
