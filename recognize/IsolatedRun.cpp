#include "recognize/IsolatedRun.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelvo {
namespace {

// A recognised line is a few dozen bytes; anything longer is cut here.
constexpr size_t kMostBytes = 64 * 1024;

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

[[noreturn]] void RunChild(int fd, const std::function<std::optional<std::string>()>& work) {
    const std::optional<std::string> result = work();
    const bool sent = WriteAll(fd, result ? "1" + *result : std::string("0"));
    // No exit handlers and no flushing of the buffers this process shares with its parent.
    _exit(sent ? 0 : 1);
}

// Reads until the child closes its end or the time is up; false when the time ran out.
bool ReadUntilClosed(int fd, std::string& bytes, std::chrono::steady_clock::time_point end) {
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd ready{fd, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(left.count()));
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) return false;
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return true;
        if (bytes.size() < kMostBytes) {
            bytes.append(buffer, std::min(static_cast<size_t>(got), kMostBytes - bytes.size()));
        }
    }
}

}  // namespace

std::optional<std::string> RunIsolated(const std::function<std::optional<std::string>()>& work,
                                       std::chrono::milliseconds limit) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return work();
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return work();
    }
    if (child == 0) {
        close(fds[0]);
        RunChild(fds[1], work);
    }
    close(fds[1]);
    std::string bytes;
    const bool finished =
        ReadUntilClosed(fds[0], bytes, std::chrono::steady_clock::now() + limit);
    close(fds[0]);
    if (!finished) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const bool exitedWell = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!finished || !exitedWell || bytes.empty() || bytes[0] != '1') return std::nullopt;
    return bytes.substr(1);
}

}  // namespace zelvo
