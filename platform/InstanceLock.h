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

// None when another process holds the lock of that name.
std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name);

}  // namespace zelvo
