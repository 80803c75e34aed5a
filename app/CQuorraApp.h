#pragma once

#include <functional>
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
    // A message the operator acknowledges before the program goes on or ends.
    using InformationBox =
        std::function<void(const std::u16string& text, const std::u16string& title)>;

    CQuorraApp();
    ~CQuorraApp();

    // Replaces the message box (tests answer it themselves).
    void SetInformationBox(InformationBox box) { m_informationBox = std::move(box); }
    MainWindow* Window() const { return m_mainWindow.get(); }

    // Before the QApplication exists: false when another instance of this user's session runs
    // (end silently). A lock the system cannot make is reported once by InitInstance.
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
    bool m_instanceLockFailed = false;
    InformationBox m_informationBox;
    std::unique_ptr<MisCilHolder> m_gateway;
    // The exchanges of the operation pages; outlives the main window.
    std::unique_ptr<OperationServices> m_operations;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<CaptureWiring> m_capture;
    std::string m_updateServer;
};

}  // namespace zelvo
