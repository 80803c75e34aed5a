#include "platform/ProcessLiveness.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace zelvo {

long CurrentProcessId() {
    return static_cast<long>(getpid());
}

bool ProcessIsRunning(long pid) {
    if (pid <= 0) return false;
    // Signal 0 only asks; a process of another user answers EPERM but runs all the same.
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace zelvo
