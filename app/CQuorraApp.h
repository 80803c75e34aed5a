#pragma once

#include <memory>
#include <string>

namespace zelvo {

class CaptureWiring;
class InstanceLock;
class MainWindow;
class MisCilHolder;
class OperationServices;
class UpdateService;

// The process start-up: single-instance guard, database, configuration and the main window.
class CQuorraApp {
public:
    CQuorraApp();
    ~CQuorraApp();

    // Before the QApplication exists: false when another instance runs (end silently).
    bool ClaimSingleInstance();
    // True to run the message loop, false to end the process at once.
    bool InitInstance(const std::string& executablePath);
    // After the message loop, while the QApplication still exists: the windows go first.
    void ExitInstance();

private:
    void StartReconciliation();

    std::unique_ptr<InstanceLock> m_instanceLock;
    // The update check runs beside start-up and the operator's work.
    std::unique_ptr<UpdateService> m_update;
    std::unique_ptr<MisCilHolder> m_gateway;
    // The exchanges of the operation pages; outlives the main window.
    std::unique_ptr<OperationServices> m_operations;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<CaptureWiring> m_capture;
    std::string m_updateServer;
};

}  // namespace zelvo
