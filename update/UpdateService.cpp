#include "update/UpdateService.h"

#include <QDir>
#include <QString>
#include <QThread>

#include "platform/Connectivity.h"
#include "shell/Restart.h"
#include "update/UpdateCheck.h"

namespace zelvo {

UpdateService::UpdateService() = default;

UpdateService::~UpdateService() {
    Stop();
}

void UpdateService::Start(const std::string& updateServer, const std::string& executablePath) {
    UpdateCheckSetup setup;
    setup.updateServer = updateServer;
    setup.executablePath = QString::fromStdString(executablePath).toStdU16String();
    setup.tempFolder = QDir::tempPath().toStdU16String();
    std::shared_ptr<ConnectivityCheck> connectivity = CreateSystemConnectivityCheck();
    setup.isOnline = [connectivity] { return connectivity->IsOnline(); };
    Start(setup);
}

void UpdateService::Start(const UpdateCheckSetup& setup) {
    if (m_thread) return;
    UpdateCheckSetup ownSetup = setup;
    ownSetup.http.cancelled = &m_cancelled;
    m_thread.reset(QThread::create(
        [this, ownSetup] { RunUpdateCheck(ownSetup, m_dialogs, [] { RestartApplication(); }); }));
    m_thread->start();
}

void UpdateService::Stop() {
    if (!m_thread) return;
    m_dialogs.Close();
    m_cancelled = true;
    m_thread->wait();
    m_thread.reset();
}

}  // namespace zelvo
