#pragma once

#include <memory>
#include <string>

namespace zelvo {

class AmountCapture;
class CLocalDb;
class MainWindow;
class PageCaptureTarget;

// The amount capture on the main window's pages: it runs before the window is raised by the
// restore icon or the show key, and the settings page's region button runs the selection.
class CaptureWiring {
public:
    // Made together with the main window: the capture's pre-processing switch is read now.
    CaptureWiring(CLocalDb& db, MainWindow& window, const std::u16string& exeDir);
    ~CaptureWiring();

    AmountCapture& Capture() const { return *m_capture; }
    // The region selection with the main window and the restore icon out of the way.
    bool SelectRegion();

private:
    CLocalDb& m_db;
    MainWindow& m_window;
    std::unique_ptr<PageCaptureTarget> m_target;
    std::unique_ptr<AmountCapture> m_capture;
};

}  // namespace zelvo
