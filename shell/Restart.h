#pragma once

#include <functional>

namespace zelvo {

class InstanceLock;

// The single-instance lock of this process, released just before a fresh copy starts so that
// the copy is not refused as a second instance.
void SetRestartInstanceLock(InstanceLock* lock);

// Replaces the real restart (tests); an empty function restores it.
void SetRestartHandler(std::function<void()> handler);

// Starts a fresh copy of the program's executable in the same working directory, without
// arguments, then ends this process at once with exit code 0. No clean-up runs after the copy
// has started.
void RestartApplication();

}  // namespace zelvo
