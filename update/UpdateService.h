#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "update/UpdateDialogs.h"

class QThread;

namespace zelvo {

struct UpdateCheckSetup;

// Runs the one update check of this start on a thread of its own, so start-up and the login go
// on meanwhile; installs and restarts when the operator agrees.
class UpdateService {
public:
    UpdateService();
    ~UpdateService();
    UpdateService(const UpdateService&) = delete;
    UpdateService& operator=(const UpdateService&) = delete;

    // `updateServer` as configured; `executablePath` the running program (UTF-8).
    void Start(const std::string& updateServer, const std::string& executablePath);
    // Tests: a prepared check instead of the program's own.
    void Start(const UpdateCheckSetup& setup);

    // User-interface thread, before the windows go: ends a waiting question or request and
    // waits for the thread.
    void Stop();

private:
    UpdateDialogs m_dialogs;
    std::atomic<bool> m_cancelled{false};
    std::unique_ptr<QThread> m_thread;
};

}  // namespace zelvo
