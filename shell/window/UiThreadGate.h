#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace zelvo {

// Lets another thread run a function on the user-interface thread and wait until it has run
// (a blocking queued call). Closing the gate releases every waiter, so a thread that reports to
// a window which is going away cannot hold the user-interface thread up while it is stopped.
class UiThreadGate {
public:
    UiThreadGate();
    ~UiThreadGate();
    UiThreadGate(const UiThreadGate&) = delete;
    UiThreadGate& operator=(const UiThreadGate&) = delete;

    // True when `call` ran; false when the gate was closed first (it will then never run).
    bool RunAndWait(std::function<void()> call);
    void Close();

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        bool closed = false;
    };
    std::shared_ptr<State> m_state;
};

}  // namespace zelvo
