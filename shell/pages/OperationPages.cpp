#include "shell/pages/OperationPages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPrinterInfo>

#include "config/TerminalConfig.h"
#include "payment/ExchangeRunner.h"
#include "payment/GatewayExchange.h"
#include "print/PrintJob.h"
#include "settings/PageKeys.h"
#include "shell/keys/QtVirtualKey.h"
#include "shell/Restart.h"
#include "operator/CurrentOperator.h"
#include "shell/pages/PaymentPage.h"
#include "shell/pages/QueryRefundPage.h"
#include "shell/settings/SettingsPage.h"
#include "shell/ShellHost.h"
#include "store/LocalDb.h"

namespace zelvo {
namespace {

// The page keys' actions on the main window and its query page.
class WindowKeyActions : public PageKeyHost {
public:
    explicit WindowKeyActions(ShellHost& host) : m_host(host) {}
    void PreviousPage() override { m_host.PreviousPage(); }
    void NextPage() override { m_host.NextPage(); }
    void StartRefund() override {
        if (QueryRefundPage* page = QueryPage()) page->OpenRefund();
    }
    void OpenSettlement() override {
        if (QueryRefundPage* page = QueryPage()) page->OpenSettlement();
    }
    void SetEndOfShift() override { SetEndOfShiftFlag(true); }

private:
    QueryRefundPage* QueryPage() const {
        return qobject_cast<QueryRefundPage*>(m_host.Page(PageId::QueryRefund));
    }
    ShellHost& m_host;
};

}  // namespace

OperationServices::OperationServices()
    : m_gateway(std::make_unique<MisCilGateway>()),
      m_runner(std::make_unique<ExchangeRunner>(*m_gateway, [](std::function<void()> work) {
          // An exchange that ends while the program is closing has nobody left to tell.
          if (QCoreApplication* app = QCoreApplication::instance()) {
              QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
          }
      })) {}

OperationServices::~OperationServices() = default;

FlowServices OperationServices::Services() {
    return FlowServices{*m_runner, [] { return GetLocalDb(); },
                        [] { return GetCurrentOperator().operatorId; },
                        [] { StartPrintJob(TakePrintSettings(GetTerminalConfig())); },
                        GetTerminalConfig()};
}

OperationPagesSetup DefaultOperationPagesSetup(OperationServices& services) {
    OperationPagesSetup setup;
    setup.services = [&services] { return services.Services(); };
    setup.systemPrinters = [] { return QPrinterInfo::availablePrinterNames(); };
    setup.restart = [] { RestartApplication(); };
    return setup;
}

PageFactory MakeOperationPageFactory(OperationPagesSetup setup, PageFactory others) {
    return [setup = std::move(setup), others = std::move(others)](PageId id, ShellHost& host,
                                                                  QWidget* parent) -> ShellPage* {
        switch (id) {
            case PageId::Payment:
                return new PaymentPage(host, setup.services(), parent);
            case PageId::QueryRefund:
                return new QueryRefundPage(host, setup.services(), parent);
            case PageId::Settings: {
                const FlowServices services = setup.services();
                CLocalDb* db = services.database();
                SettingsPage::Services settings;
                settings.db = db;
                settings.operatorId = [] { return GetCurrentOperator().operatorId; };
                settings.restart = setup.restart;
                settings.selectCaptureRegion = setup.selectCaptureRegion;
                return new SettingsPage(
                    host, settings, ParameterSettings::LoadForm(db, services.config),
                    setup.systemPrinters ? setup.systemPrinters() : QStringList(), parent);
            }
            default:
                return others(id, host, parent);
        }
    };
}

PageKeyHandler MakePageKeyHandler(std::function<CLocalDb*()> database) {
    return [database = std::move(database)](QKeyEvent& event, ShellHost& host) {
        const int key = VirtualKeyOf(event);
        if (key == 0) return false;
        WindowKeyActions actions(host);
        const bool onLoginPanel = host.CurrentPage() == PageId::None;
        return DispatchSharedPageKey(key, onLoginPanel, database ? database() : nullptr, actions);
    };
}

}  // namespace zelvo
