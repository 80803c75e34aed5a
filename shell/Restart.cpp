#include "shell/Restart.h"

#include <cstdlib>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include "platform/InstanceLock.h"

namespace zelvo {
namespace {

InstanceLock* g_lock = nullptr;
std::function<void()> g_handler;

}  // namespace

void SetRestartInstanceLock(InstanceLock* lock) {
    g_lock = lock;
}

void SetRestartHandler(std::function<void()> handler) {
    g_handler = std::move(handler);
}

void RestartApplication() {
    if (g_handler) {
        g_handler();
        return;
    }
    if (g_lock) g_lock->Release();
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {}, QDir::currentPath());
    std::_Exit(0);
}

}  // namespace zelvo
