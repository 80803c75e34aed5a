#pragma once

#include <memory>
#include <string>

namespace zelvo {

// A system-wide named lock held for the life of the process; the system drops it when the
// process dies, however it dies.
class InstanceLock {
public:
    virtual ~InstanceLock() = default;
    // Lets a successor process take the lock before this one has ended.
    virtual void Release() = 0;
};

enum class InstanceLockOutcome {
    Acquired,
    HeldElsewhere,  // another process holds the lock of that name
    Failed,         // the system could not make the lock: nothing is known of other processes
};

// None when the lock is not acquired; `outcome`, when given, tells why.
std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name,
                                                  InstanceLockOutcome* outcome = nullptr);

// `base` scoped to this user's session (the user and the display), so that another user of
// the machine, or another display, holds a lock of its own.
std::string SessionLockName(const std::string& base);

}  // namespace zelvo
