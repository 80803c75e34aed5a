#pragma once

#include <functional>
#include <memory>

#include <QStringList>

#include "payment/FlowServices.h"
#include "shell/ShellPage.h"

namespace zelvo {

class CLocalDb;
class ExchangeRunner;
class MisCilGateway;
class OrderJournal;
class ReconcileService;

// The gateway and the one exchange at a time that the payment and query pages share, with the
// completions delivered on the user-interface thread.
class OperationServices {
public:
    OperationServices();
    ~OperationServices();
    OperationServices(const OperationServices&) = delete;
    OperationServices& operator=(const OperationServices&) = delete;

    FlowServices Services();

    // Starts finishing the orders the journal holds open, on a worker thread: now, whenever a
    // flow leaves one open, and every few minutes while some remain. `showRecovered` tells the
    // operator of an order found paid; `networkUp` is asked from the worker thread.
    void StartReconciliation(std::function<void(const QString& text)> showRecovered,
                             std::function<bool()> networkUp);

private:
    std::unique_ptr<MisCilGateway> m_gateway;
    std::unique_ptr<ExchangeRunner> m_runner;
    std::unique_ptr<OrderJournal> m_journal;
    // Goes first: its worker uses the runner and the journal.
    std::unique_ptr<ReconcileService> m_reconcile;
};

// What the operation pages are made with.
struct OperationPagesSetup {
    std::function<FlowServices()> services;
    // The system's printers for the settings page's list.
    std::function<QStringList()> systemPrinters;
    std::function<void()> selectCaptureRegion;
    std::function<void()> restart;
};

// The running program's choices: the system's printers, and a restart after a save.
OperationPagesSetup DefaultOperationPagesSetup(OperationServices& services);

// The payment, query and refund, and settings pages; `others` makes the remaining tabs' pages.
PageFactory MakeOperationPageFactory(OperationPagesSetup setup, PageFactory others);

// LeftKey and RightKey switch pages, Escape opens the settlement prompt; each read afresh from
// SysConfig at every key press.
PageKeyHandler MakePageKeyHandler(std::function<CLocalDb*()> database);

}  // namespace zelvo
