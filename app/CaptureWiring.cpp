#include "app/CaptureWiring.h"

#include "capture/AmountCapture.h"
#include "capture/CaptureTarget.h"
#include "capture/SelectCaptureRegion.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinEdit.h"
#include "shell/pages/PaymentPage.h"
#include "shell/pages/PaymentPanel.h"
#include "shell/window/MainWindow.h"

namespace zelvo {

class PageCaptureTarget : public CaptureTarget {
public:
    explicit PageCaptureTarget(MainWindow& window) : m_window(window) {}

    bool AcceptsCapturedAmount() const override {
        return m_window.CurrentPage() == PageId::Payment && PaymentPageNow();
    }
    // The other pages keep the box that had the keyboard; raising the window gives it back.
    void ApplyFocusRule() override {
        if (PaymentPage* page = PaymentPageNow()) page->PreparePage();
    }
    void PutAmount(const QString& amount) override {
        if (PaymentPage* page = PaymentPageNow()) page->SetAmount(amount);
    }
    void ClearPaymentFields() override {
        if (PaymentPage* page = PaymentPageNow()) {
            page->Panel().CodeBox()->clear();
            page->SetAmount(QString());
        }
    }
    void ShowNotice(const QString& text) override { zelvo::ShowNotice(IconKind::Warning, text); }

private:
    PaymentPage* PaymentPageNow() const {
        if (m_window.CurrentPage() != PageId::Payment) return nullptr;
        return qobject_cast<PaymentPage*>(m_window.Page(PageId::Payment));
    }
    MainWindow& m_window;
};

CaptureWiring::CaptureWiring(CLocalDb& db, MainWindow& window, const std::u16string& exeDir)
    : m_db(db),
      m_window(window),
      m_target(std::make_unique<PageCaptureTarget>(window)),
      m_capture(std::make_unique<AmountCapture>(db, *m_target, exeDir)) {
    m_window.SetBeforeRaise([this] { m_capture->CaptureAmount(); });
}

CaptureWiring::~CaptureWiring() {
    m_window.SetBeforeRaise(nullptr);
}

bool CaptureWiring::SelectRegion() {
    RegionSelectHost host;
    host.showWindows = [this](bool shown) {
        m_window.SetRestoreIconVisible(shown);
        if (shown) {
            m_window.Raise();
        } else {
            m_window.hide();
        }
    };
    host.resetCaptureRect = [this] { m_capture->ResetCaptureRect(); };
    return SelectCaptureRegion(m_db, host);
}

}  // namespace zelvo
