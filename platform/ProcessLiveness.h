#pragma once

namespace zelvo {

// This process's number, as the system counts processes.
long CurrentProcessId();

// Whether a process with that number runs now. After a process ends its number may be given to
// another one, so callers trust a "yes" only for a bounded time.
bool ProcessIsRunning(long pid);

}  // namespace zelvo
