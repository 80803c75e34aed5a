#include "shell/window/UiThreadGate.h"

#include <QCoreApplication>
#include <QThread>

namespace zelvo {

UiThreadGate::UiThreadGate() : m_state(std::make_shared<State>()) {}

UiThreadGate::~UiThreadGate() {
    Close();
}

bool UiThreadGate::RunAndWait(std::function<void()> call) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return false;
    if (QThread::currentThread() == app->thread()) {
        call();
        return true;
    }
    auto done = std::make_shared<bool>(false);
    std::shared_ptr<State> state = m_state;
    QMetaObject::invokeMethod(
        app,
        [state, done, call = std::move(call)] {
            {
                std::lock_guard lock(state->mutex);
                if (state->closed) return;
            }
            // Only the user-interface thread closes the gate, so it stays open while this runs.
            call();
            std::lock_guard lock(state->mutex);
            *done = true;
            state->changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(state->mutex);
    state->changed.wait(lock, [&] { return *done || state->closed; });
    return *done;
}

void UiThreadGate::Close() {
    std::lock_guard lock(m_state->mutex);
    m_state->closed = true;
    m_state->changed.notify_all();
}

}  // namespace zelvo
