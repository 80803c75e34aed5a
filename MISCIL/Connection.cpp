#include "MISCIL/Connection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "MISCIL/MisCil.h"
#include "MISCIL/Timeout.h"

namespace zelvo {
namespace {

constexpr size_t kChunk = 1024;

HostNameResolver g_resolver;

bool SystemResolve(const std::string& name, std::uint32_t& address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
    address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

bool ResolveAddress(MisCilContext& context, const MisCilCfg& cfg, const MisCilSettings& settings,
                    in_addr& address) {
    if (!settings.hostNameMode) return inet_pton(AF_INET, cfg.ServerIP.c_str(), &address) == 1;
    if (!context.connection.addressResolved) {
        std::uint32_t resolved = 0;
        bool ok =
            g_resolver ? g_resolver(cfg.ServerIP, resolved) : SystemResolve(cfg.ServerIP, resolved);
        if (!ok) return false;
        context.connection.resolvedAddress = resolved;
        context.connection.addressResolved = true;
    }
    address.s_addr = context.connection.resolvedAddress;
    return true;
}

// A connect that gives up after the waiting time, so an unreachable gateway cannot hold the
// till for minutes.
bool ConnectWithin(int socket, const sockaddr_in& address, int waitSeconds) {
    int flags = fcntl(socket, F_GETFL, 0);
    fcntl(socket, F_SETFL, flags | O_NONBLOCK);
    int rc = connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (rc != 0 && errno == EINPROGRESS) {
        pollfd waiting{socket, POLLOUT, 0};
        rc = poll(&waiting, 1, waitSeconds * 1000);
        if (rc == 1) {
            int error = 0;
            socklen_t size = sizeof error;
            getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size);
            errno = error;
            rc = error == 0 ? 0 : -1;
        } else {
            errno = rc == 0 ? ETIMEDOUT : errno;
            rc = -1;
        }
    }
    fcntl(socket, F_SETFL, flags);
    return rc == 0;
}

enum class Wait { Ready, Closed, Failed, TimedOut };

// Receives up to `count` bytes, waiting no longer than the deadline.
Wait ReceiveSome(MisCilContext& context, char* into, size_t count, size_t& received) {
    int remaining = RemainingWaitMs(context);
    pollfd readable{context.connection.socket, POLLIN, 0};
    int ready = poll(&readable, 1, remaining);
    if (ready == 0) return Wait::TimedOut;
    if (ready < 0) return Wait::Failed;
    ssize_t got = recv(context.connection.socket, into, count, 0);
    if (got == 0) return Wait::Closed;
    if (got < 0) return Wait::Failed;
    received = static_cast<size_t>(got);
    return Wait::Ready;
}

// Reads exactly `count` bytes into `into` (or drops them when `into` is null); 0 or 9.
int ReceiveExactly(MisCilContext& context, char* into, size_t count) {
    char scratch[kChunk];
    while (count > 0) {
        size_t got = 0;
        char* target = into != nullptr ? into : scratch;
        Wait result = ReceiveSome(context, target, std::min(count, kChunk), got);
        if (result == Wait::TimedOut) {
            OnTxnTimeout(context);
            return MisCilError::PeerClosed;
        }
        if (result == Wait::Closed) {
            std::printf("Connection closed\n");
            return MisCilError::PeerClosed;
        }
        if (result == Wait::Failed) {
            std::printf("recv failed: %d\n", errno);
            return MisCilError::PeerClosed;
        }
        count -= got;
        if (into != nullptr) into += got;
    }
    return 0;
}

}  // namespace

void SetHostNameResolver(HostNameResolver resolver) {
    g_resolver = std::move(resolver);
}

void CloseConnection(MisCilContext& context) {
    if (context.connection.socket >= 0) close(context.connection.socket);
    context.connection.socket = -1;
}

int CConnect(MisCilContext& context) {
    CloseConnection(context);
    int handle = socket(AF_INET, SOCK_STREAM, 0);
    if (handle < 0) {
        std::printf("Error at socket(): %ld\n", static_cast<long>(errno));
        return MisCilError::Connect;
    }
    // Closing resets the connection instead of lingering in TIME_WAIT.
    linger noLinger{1, 0};
    setsockopt(handle, SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger);
    context.connection.socket = handle;

    const MisCilCfg& cfg = context.cfg;
    const MisCilSettings& settings = context.settings;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(settings.serverPort.value_or(0)));
    if (!ResolveAddress(context, cfg, settings, address.sin_addr)) {
        if (settings.hostNameMode) {
            // Only this connection fails: the socket layer stays usable for the next one.
            CloseConnection(context);
            return MisCilError::Resolve;
        }
        errno = EINVAL;
    } else if (settings.serverPort && ConnectWithin(handle, address, settings.waitTime)) {
        return 0;
    }
    std::printf("Unable to connect to config server %s:%d with err %ld\n", cfg.ServerIP.c_str(),
                settings.serverPort.value_or(0), static_cast<long>(errno));
    CloseConnection(context);
    return MisCilError::Connect;
}

int CSendData(MisCilContext& context, const char* data, size_t length) {
    size_t sent = 0;
    while (sent < length) {
        ssize_t rc = send(context.connection.socket, data + sent, length - sent, MSG_NOSIGNAL);
        if (rc <= 0) {
            std::printf("send failed: %d\n", errno);
            return MisCilError::Send;
        }
        sent += static_cast<size_t>(rc);
    }
    return 0;
}

int CRecvData(MisCilContext& context, char* buffer, size_t capacity, size_t& length) {
    length = 0;
    if (context.connection.socket < 0 || capacity < 4) return MisCilError::PeerClosed;
    char prefix[4];
    int rc = ReceiveExactly(context, prefix, sizeof prefix);
    if (rc != 0) return rc;
    size_t announced = 0;
    for (char digit : prefix) {
        if (digit < '0' || digit > '9') break;
        announced = announced * 10 + static_cast<size_t>(digit - '0');
    }
    size_t total = announced + 4;
    if (total > capacity) {
        // Too long for the buffer: read it off so nothing else is taken for its tail, and refuse.
        rc = ReceiveExactly(context, nullptr, announced);
        return rc != 0 ? rc : MisCilError::BadAnswer;
    }
    std::memcpy(buffer, prefix, sizeof prefix);
    rc = ReceiveExactly(context, buffer + 4, announced);
    if (rc != 0) return rc;
    length = total;
    return 0;
}

}  // namespace zelvo
