#include "recognize/IsolatedWorker.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelvo {
namespace {

using Clock = std::chrono::steady_clock;

// A recognised line is a few dozen bytes, a request a path; anything longer is cut or refused.
constexpr size_t kMostBytes = 64 * 1024;
// Where the child keeps its end of the channel once it has closed all else.
constexpr int kChildChannel = 3;

// Waits until `fd` is ready for `events`; false when `end` passed first or the wait failed.
bool WaitFor(int fd, short events, Clock::time_point end) {
    for (;;) {
        int timeout = -1;
        if (end != Clock::time_point::max()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now());
            if (left.count() <= 0) return false;
            timeout = static_cast<int>(std::min<long long>(left.count(), 1 << 30));
        }
        pollfd ready{fd, events, 0};
        const int polled = poll(&ready, 1, timeout);
        if (polled < 0 && errno == EINTR) continue;
        return polled > 0;
    }
}

bool SendAll(int fd, const char* bytes, size_t size, Clock::time_point end) {
    for (size_t done = 0; done < size;) {
        if (!WaitFor(fd, POLLOUT, end)) return false;
        const ssize_t sent = send(fd, bytes + done, size - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (sent <= 0) return false;
        done += static_cast<size_t>(sent);
    }
    return true;
}

bool ReceiveAll(int fd, char* bytes, size_t size, Clock::time_point end) {
    for (size_t done = 0; done < size;) {
        if (!WaitFor(fd, POLLIN, end)) return false;
        const ssize_t got = recv(fd, bytes + done, size - done, MSG_DONTWAIT);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return false;
        done += static_cast<size_t>(got);
    }
    return true;
}

// A message is its length, four bytes in this machine's order, and its bytes.
bool SendMessage(int fd, const std::string& message, Clock::time_point end) {
    const auto size = static_cast<std::uint32_t>(std::min(message.size(), kMostBytes));
    char length[sizeof size];
    std::memcpy(length, &size, sizeof size);
    return SendAll(fd, length, sizeof length, end) && SendAll(fd, message.data(), size, end);
}

bool ReceiveMessage(int fd, std::string& message, Clock::time_point end) {
    std::uint32_t size = 0;
    char length[sizeof size];
    if (!ReceiveAll(fd, length, sizeof length, end)) return false;
    std::memcpy(&size, length, sizeof size);
    if (size > kMostBytes) return false;
    message.assign(size, '\0');
    return ReceiveAll(fd, message.data(), size, end);
}

// Leaves the child only its channel and the standard streams, so that nothing this process
// closes later (a gateway connection, the display's) stays open in the child.
bool KeepOnlyTheChannel(int channel) {
    if (channel != kChildChannel && dup2(channel, kChildChannel) < 0) return false;
    if (close_range(kChildChannel + 1, ~0u, 0) == 0) return true;
    const long most = std::min(sysconf(_SC_OPEN_MAX), 1L << 16);
    for (long fd = kChildChannel + 1; fd < most; ++fd) close(static_cast<int>(fd));
    return true;
}

[[noreturn]] void Serve(int channel, const IsolatedWorker::Work& work) {
    if (!KeepOnlyTheChannel(channel)) _exit(1);
    std::string request;
    // The parent closing its end, or going away, ends the child.
    while (ReceiveMessage(kChildChannel, request, Clock::time_point::max())) {
        const std::optional<std::string> result = work(request);
        std::string reply(1, result ? '1' : '0');
        if (result) reply += *result;
        if (!SendMessage(kChildChannel, reply, Clock::time_point::max())) break;
    }
    // No exit handlers and no flushing of the buffers this process shares with its parent.
    _exit(0);
}

}  // namespace

IsolatedWorker::IsolatedWorker(Work work) : m_work(std::move(work)) {}

IsolatedWorker::~IsolatedWorker() {
    Stop();
}

bool IsolatedWorker::Start() {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
        close(ends[0]);
        close(ends[1]);
        return false;
    }
    if (child == 0) Serve(ends[1], m_work);
    close(ends[1]);
    m_child = child;
    m_channel = ends[0];
    m_readings = 0;
    return true;
}

void IsolatedWorker::Stop() {
    if (m_child < 0) return;
    close(m_channel);
    kill(m_child, SIGKILL);
    while (waitpid(m_child, nullptr, 0) < 0 && errno == EINTR) {
    }
    m_child = -1;
    m_channel = -1;
}

std::optional<std::string> IsolatedWorker::Answer(Clock::time_point end) {
    std::string reply;
    if (!ReceiveMessage(m_channel, reply, end) || reply.empty() ||
        (reply[0] != '1' && reply[0] != '0')) {
        Stop();
        return std::nullopt;
    }
    if (++m_readings >= kReadingsPerChild) Stop();
    if (reply[0] == '0') return std::nullopt;
    return reply.substr(1);
}

std::optional<std::string> IsolatedWorker::Run(const std::string& request,
                                               std::chrono::milliseconds limit) {
    const Clock::time_point end = Clock::now() + limit;
    // A child that died between two readings is found when the request cannot reach it; a new
    // one takes the reading.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (m_child < 0 && !Start()) return m_work(request);
        if (SendMessage(m_channel, request, end)) return Answer(end);
        Stop();
    }
    return std::nullopt;
}

}  // namespace zelvo
