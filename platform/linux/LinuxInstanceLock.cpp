#include "platform/InstanceLock.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace zelvo {
namespace {

// An abstract local socket: its name exists only while a process holds the socket open, so the
// kernel drops it even when the holder is killed outright.
class AbstractSocketLock final : public InstanceLock {
public:
    explicit AbstractSocketLock(int fd) : m_fd(fd) {}
    ~AbstractSocketLock() override { Release(); }

    void Release() override {
        if (m_fd >= 0) close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

// A display name is a few characters; a longer one is cut rather than crowding out the rest.
constexpr size_t kDisplayNameCapacity = 32;

std::unique_ptr<InstanceLock> Refuse(InstanceLockOutcome* outcome, InstanceLockOutcome why) {
    if (outcome) *outcome = why;
    return nullptr;
}

}  // namespace

std::string SessionLockName(const std::string& base) {
    std::string name = base + "-" + std::to_string(getuid());
    const char* display = std::getenv("DISPLAY");
    if (display && *display) name += "-" + std::string(display).substr(0, kDisplayNameCapacity);
    return name;
}

std::unique_ptr<InstanceLock> AcquireInstanceLock(const std::string& name,
                                                  InstanceLockOutcome* outcome) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return Refuse(outcome, InstanceLockOutcome::Failed);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // Leading NUL selects the abstract namespace; the name is cut to the address's room.
    size_t length = std::min(name.size(), sizeof(address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, name.data(), length);
    socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), size) != 0) {
        const bool taken = errno == EADDRINUSE;
        close(fd);
        return Refuse(outcome, taken ? InstanceLockOutcome::HeldElsewhere
                                     : InstanceLockOutcome::Failed);
    }
    if (outcome) *outcome = InstanceLockOutcome::Acquired;
    return std::make_unique<AbstractSocketLock>(fd);
}

}  // namespace zelvo
