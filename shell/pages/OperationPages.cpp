#include "shell/pages/OperationPages.h"

#include <filesystem>

#include <QApplication>
#include <QKeyEvent>
#include <QPrinterInfo>

#include "config/TerminalConfig.h"
#include "payment/ExchangeRunner.h"
#include "payment/GatewayExchange.h"
#include "payment/OrderJournal.h"
#include "payment/ReconcileService.h"
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

namespace {

void PostToUserInterface(std::function<void()> work) {
    // An exchange that ends while the program is closing has nobody left to tell.
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
    }
}

}  // namespace

OperationServices::OperationServices()
    : m_gateway(std::make_unique<MisCilGateway>()),
      m_runner(std::make_unique<ExchangeRunner>(*m_gateway, PostToUserInterface)),
      m_journal(std::make_unique<OrderJournal>()) {}

OperationServices::~OperationServices() = default;

FlowServices OperationServices::Services() {
    FlowServices services{*m_runner, [] { return GetLocalDb(); },
                          [] { return GetCurrentOperator().operatorId; }, [] { StartPrintJob(TakePrintSettings(GetTerminalConfig())); },
                          GetTerminalConfig()};
    services.journal = m_journal.get();
    return services;
}

void OperationServices::StartReconciliation(std::function<void(const QString& text)> showRecovered,
                                            std::function<bool()> networkUp) {
    ReconcileServiceSetup setup;
    setup.exchanges = m_runner.get();
    setup.journal = m_journal.get();
    // The worker's own connection, to the database the process opened in its directory.
    setup.openDatabase = [path = std::filesystem::absolute("MISData.db").u16string()] {
        auto db = std::make_unique<CLocalDb>();
        return db->Open(path) ? std::move(db) : nullptr;
    };
    setup.networkUp = std::move(networkUp);
    setup.poster = PostToUserInterface;
    setup.showRecovered = [show = std::move(showRecovered)](const std::u16string& text) {
        if (show) show(QString::fromStdU16String(text));
    };
    setup.startPrintJob = [] { StartPrintJob(TakePrintSettings(GetTerminalConfig())); };
    setup.waitForPrintJobs = [] { WaitForPrintJobs(); };
    setup.printSlips = PrintsSlipAfterTransaction(GetTerminalConfig());
    m_reconcile.reset();
    m_reconcile = std::make_unique<ReconcileService>(std::move(setup));
    m_journal->SetLeftOpenHandler([service = m_reconcile.get()] { service->Trigger(); });
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
