#pragma once

#include <string>
#include <thread>

#include "base/Clock.h"

namespace zelvo {

// Prunes the old log rows on a connection and a thread of its own, so that start-up never waits
// for it: nothing before the first exchange needs its result.
class BackgroundLogPruning {
public:
    BackgroundLogPruning(std::u16string path, LocalTime today);
    // Waits for the pruning to end.
    ~BackgroundLogPruning();
    BackgroundLogPruning(const BackgroundLogPruning&) = delete;
    BackgroundLogPruning& operator=(const BackgroundLogPruning&) = delete;

    void Wait();

private:
    std::thread m_thread;
};

}  // namespace zelvo
