#include "bench/exchange/MinimalPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tools/gateway-sim/SocketIo.h"

namespace zelvo::bench {
namespace {

bool ReadFrame(int socket, std::string& frame) {
    char chunk[2048];
    size_t wanted = 4;
    while (frame.size() < wanted) {
        ssize_t got = recv(socket, chunk, sizeof chunk, 0);
        if (got <= 0) return false;
        frame.append(chunk, static_cast<size_t>(got));
        if (frame.size() >= 4) wanted = 4 + std::stoul(frame.substr(0, 4));
    }
    return true;
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    return address;
}

}  // namespace

MinimalPeer::MinimalPeer(std::string answer) : m_answer(std::move(answer)) {
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    bind(m_listener, reinterpret_cast<sockaddr*>(&address), size);
    listen(m_listener, 16);
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Run(); });
}

MinimalPeer::~MinimalPeer() {
    m_stopping = true;
    m_thread.join();
    close(m_listener);
}

void MinimalPeer::Run() {
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (poll(&waiting, 1, 50) <= 0) continue;
        int connection = accept(m_listener, nullptr, nullptr);
        if (connection < 0) continue;
        std::string request;
        if (ReadFrame(connection, request)) sim::SendAll(connection, m_answer);
        close(connection);
    }
}

bool PlainRoundTrip(int port, const std::string& request) {
    int handle = socket(AF_INET, SOCK_STREAM, 0);
    if (handle < 0) return false;
    // The same reset-on-close as the gateway library, so both sides do the same work.
    linger noLinger{1, 0};
    setsockopt(handle, SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger);
    sockaddr_in address = Loopback(port);
    std::string answer;
    bool ok = connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              sim::SendAll(handle, request) && ReadFrame(handle, answer);
    close(handle);
    return ok;
}

}  // namespace zelvo::bench
