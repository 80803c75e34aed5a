#include "shell/pages/QueryRefundPage.h"

#include <QKeyEvent>

#include "payment/RefundFlow.h"
#include "payment/Settlement.h"
#include "payment/TransactionList.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/KeypadInput.h"
#include "shell/controls/SkinEdit.h"
#include "settings/KeyNameTable.h"
#include "settings/PageKeys.h"
#include "shell/keys/QtVirtualKey.h"
#include "operator/CurrentOperator.h"
#include "shell/login/ReloginPrompt.h"
#include "shell/pages/PageCallbacks.h"
#include "shell/pages/PasswordPrompt.h"
#include "shell/pages/QueryPageViews.h"
#include "shell/pages/QueryRefundPanel.h"
#include "shell/pages/RefundPrompt.h"
#include "shell/pages/TransactionGrid.h"
#include "shell/ShellHost.h"

namespace zelvo {

// The page keys' actions as this page and its main window carry them out.
class QueryRefundPage::KeyActions : public PageKeyHost {
public:
    explicit KeyActions(QueryRefundPage& page) : m_page(page) {}
    void PreviousPage() override { m_page.Host().PreviousPage(); }
    void NextPage() override { m_page.Host().NextPage(); }
    void StartRefund() override { m_page.OpenRefund(); }
    void OpenSettlement() override { m_page.OpenSettlement(); }
    void SetEndOfShift() override { SetEndOfShiftFlag(true); }

private:
    QueryRefundPage& m_page;
};

namespace {

SettlingOperator LoggedInOperator() {
    const CurrentOperator& current = GetCurrentOperator();
    return {current.operatorId, current.password};
}

}  // namespace

QueryRefundPage::QueryRefundPage(ShellHost& host, FlowServices services, QWidget* parent)
    : ShellPage(PageId::QueryRefund, host, parent),
      m_services(services),
      m_panel(new QueryRefundPanel(this)),
      m_refundPrompt(new RefundPrompt(this)),
      m_passwordPrompt(new PasswordPrompt(this)),
      m_views(std::make_unique<QueryPageViews>(*m_panel, *m_refundPrompt, *m_passwordPrompt,
                                               MakePageCallbacks(host), services.startPrintJob)),
      m_list(std::make_unique<TransactionList>(services.database, *m_views)),
      m_refund(std::make_unique<RefundFlow>(*m_views, *m_list, services)),
      m_settlement(std::make_unique<Settlement>(services.database, services.config,
                                                LoggedInOperator, *m_views)) {
    // Focus given to the page itself goes on to the grid.
    setFocusProxy(m_panel->Grid());
    ConnectControls();
}

QueryRefundPage::~QueryRefundPage() = default;

void QueryRefundPage::ConnectControls() {
    connect(m_panel->SearchButton(), &ActionButton::Clicked, this,
            [this] { m_list->SearchOrder(); });
    connect(m_panel->RefundButton(), &ActionButton::Clicked, this, &QueryRefundPage::OpenRefund);
    connect(m_panel->SettleButton(), &ActionButton::Clicked, this,
            &QueryRefundPage::OpenSettlement);
    connect(m_panel->Grid(), &TransactionGrid::ReprintRequested, this, [this](int row) {
        m_panel->Grid()->selectRow(row);
        m_refund->ReprintSelected();
    });
    connect(m_refundPrompt, &PopupPrompt::ConfirmRequested, this, [this] {
        m_refund->StartRefund(m_refundPrompt->OrderBox()->text().toStdU16String(),
                              m_refundPrompt->AmountBox()->text().toStdU16String(),
                              m_refundPrompt->PasswordBox()->text().toStdU16String());
    });
    connect(m_refundPrompt, &PopupPrompt::CancelRequested, this, [this] {
        m_refundPrompt->Close();
        m_refund->RefundPromptClosed();
    });
    connect(m_passwordPrompt, &PopupPrompt::ConfirmRequested, this,
            &QueryRefundPage::ConfirmSettlement);
    connect(m_passwordPrompt, &PopupPrompt::CancelRequested, this,
            &QueryRefundPage::CancelSettlement);
    // A press on the grid closes the keypad.
    m_panel->Grid()->viewport()->installEventFilter(this);
}

void QueryRefundPage::resizeEvent(QResizeEvent* event) {
    ShellPage::resizeEvent(event);
    m_panel->setGeometry(rect());
}

bool QueryRefundPage::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::MouseButtonPress ||
         event->type() == QEvent::MouseButtonRelease) &&
        Host().KeypadOpen()) {
        Host().CloseKeypad();
    }
    return ShellPage::eventFilter(watched, event);
}

void QueryRefundPage::PreparePage() {
    m_list->RefreshList();
    m_panel->SearchBox()->setFocus(Qt::OtherFocusReason);
}

bool QueryRefundPage::PageBusy() const {
    return m_refundPrompt->isVisible() || m_passwordPrompt->isVisible();
}

void QueryRefundPage::OpenRefund() {
    if (m_settling) return;
    m_refund->OpenRefund();
}

void QueryRefundPage::OpenSettlement() {
    if (m_settling) {
        Host().ShowMessage(MessageKind::Notice,
                           QString::fromUtf16(kBusyText.data(), kBusyText.size()));
        return;
    }
    if (m_refundPrompt->isVisible()) {
        m_refundPrompt->Close();
        m_refund->RefundPromptClosed();
    }
    m_passwordPrompt->OpenEmpty();
}

void QueryRefundPage::ConfirmSettlement() {
    if (m_settling) return;
    m_settling = true;
    m_settlement->SettleOperator(m_passwordPrompt->PasswordBox()->text().toStdU16String());
    m_settling = false;
}

void QueryRefundPage::CancelSettlement() {
    m_passwordPrompt->Close();
    if (EndOfShiftFlag()) ReloginPrompt();
}

void QueryRefundPage::RunEnterAction() {
    const QWidget* focused = focusWidget();
    if (focused == m_panel->SearchBox()) {
        if (!m_panel->SearchBox()->text().isEmpty()) m_list->SearchOrder();
    } else if (focused == m_panel->Grid()) {
        m_refund->ReprintSelected();
    }
}

bool QueryRefundPage::HandlePageKey(QKeyEvent& event) {
    const int key = VirtualKeyOf(event);
    if (key == VirtualKey::Enter) {
        RunEnterAction();
        m_swallowDown = true;
        return true;
    }
    if (key == VirtualKey::Tab) {
        if (focusWidget() == m_panel->SearchBox()) {
            m_panel->Grid()->setFocus(Qt::TabFocusReason);
        } else {
            m_panel->SearchBox()->setFocus(Qt::TabFocusReason);
        }
        return true;
    }
    KeyActions actions(*this);
    CLocalDb* db = m_services.database ? m_services.database() : nullptr;
    if (key != 0 && DispatchQueryPageKey(key, db, actions)) return true;
    if (key == VirtualKey::Down && m_swallowDown) {
        m_swallowDown = false;
        return true;
    }
    return false;
}

PopupPrompt* QueryRefundPage::OpenPrompt() const {
    if (m_refundPrompt->isVisible()) return m_refundPrompt;
    if (m_passwordPrompt->isVisible()) return m_passwordPrompt;
    return nullptr;
}

void QueryRefundPage::KeypadOpened() {
    // The keypad lies over the bottom of the page: an open prompt stays in front of it.
    if (PopupPrompt* prompt = OpenPrompt()) prompt->raise();
}

void QueryRefundPage::HandleKeypadKey(int code) {
    // Keypad keys go to an open prompt, which comes to the front.
    if (PopupPrompt* prompt = OpenPrompt()) {
        prompt->raise();
        prompt->HandleKeypadKey(code);
        if (code == KeypadKey::Confirm) Host().CloseKeypad();
        return;
    }
    if (focusWidget() != m_panel->SearchBox()) return;
    if (code == KeypadKey::Confirm) {
        Host().CloseKeypad();
        m_list->SearchOrder();
        return;
    }
    ApplyKeypadCode(*m_panel->SearchBox(), code);
}

}  // namespace zelvo
