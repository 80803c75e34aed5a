#include "tools/gateway-sim/GatewaySim.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>

#include "tools/gateway-sim/ConnectionPool.h"
#include "tools/gateway-sim/OrderBook.h"
#include "tools/gateway-sim/SimCodec.h"
#include "tools/gateway-sim/SocketIo.h"

namespace zelvo::sim {
namespace {

constexpr int kPollMs = 100;
constexpr int kRequestWaitMs = 5000;
// Longer than the longest waiting time a terminal may configure (100 s).
constexpr int kSilentHoldMs = 110'000;
// Enough for a silent connection or two to be held while others are answered.
constexpr size_t kServingThreads = 8;
constexpr size_t kMaxWaiting = 64;

// Waits for data or for the stop; false when the connection should end.
bool WaitReadable(int socket, const std::atomic<bool>& stopping, int totalMs) {
    for (int waited = 0; waited < totalMs && !stopping; waited += kPollMs) {
        pollfd readable{socket, POLLIN, 0};
        int ready = poll(&readable, 1, kPollMs);
        if (ready > 0) return true;
        if (ready < 0) return false;
    }
    return false;
}

bool ReadExactly(int socket, std::string& into, size_t count, const std::atomic<bool>& stopping) {
    while (count > 0) {
        if (!WaitReadable(socket, stopping, kRequestWaitMs)) return false;
        char chunk[1024];
        ssize_t got = recv(socket, chunk, std::min(count, sizeof chunk), 0);
        if (got <= 0) return false;
        into.append(chunk, static_cast<size_t>(got));
        count -= static_cast<size_t>(got);
    }
    return true;
}

const char* ActionName(SimAction action) {
    switch (action) {
        case SimAction::Normal:
            return "normal";
        case SimAction::Pending:
            return "pending";
        case SimAction::Refuse:
            return "refuse";
        case SimAction::Silent:
            return "silent";
        case SimAction::CloseMidFrame:
            return "close";
        case SimAction::Split:
            return "split";
        case SimAction::Oversize:
            return "oversize";
        case SimAction::Garbage:
            return "garbage";
        case SimAction::BadSign:
            return "badsign";
        case SimAction::NoChcd:
            return "nochcd";
    }
    return "?";
}

}  // namespace

GatewaySim::GatewaySim(SimOptions options)
    : m_options(std::move(options)),
      m_orders(std::make_unique<OrderBook>(m_options.rules, m_options.charset)),
      m_sink([](const std::string& line) {
          std::printf("%s\n", line.c_str());
          std::fflush(stdout);
      }),
      m_pool(std::make_unique<ConnectionPool>([this](int connection) { Serve(connection); },
                                              kServingThreads, kMaxWaiting)) {
    m_orders->SetBookFile(m_options.bookFile);
}

GatewaySim::~GatewaySim() {
    Stop();
}

void GatewaySim::SetLineSink(std::function<void(const std::string&)> sink) {
    m_sink = std::move(sink);
}

bool GatewaySim::Start() {
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    if (m_listener < 0) return false;
    int reuse = 1;
    setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(m_options.port));
    socklen_t size = sizeof address;
    if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        listen(m_listener, 16) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        close(m_listener);
        m_listener = -1;
        return false;
    }
    m_port = ntohs(address.sin_port);
    m_stopping = false;
    m_acceptor = std::thread([this] { AcceptLoop(); });
    return true;
}

void GatewaySim::Stop() {
    if (m_listener < 0) return;
    m_stopping = true;
    if (m_acceptor.joinable()) m_acceptor.join();
    close(m_listener);
    m_listener = -1;
    m_pool->Stop();
}

void GatewaySim::AcceptLoop() {
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (poll(&waiting, 1, kPollMs) <= 0) continue;
        int connection = accept(m_listener, nullptr, nullptr);
        if (connection >= 0 && !m_pool->Submit(connection)) close(connection);
    }
}

void GatewaySim::Serve(int connection) {
    std::string prefix;
    if (!ReadExactly(connection, prefix, 4, m_stopping)) return;
    size_t length = 0;
    for (char c : prefix) {
        if (c < '0' || c > '9') return;
        length = length * 10 + static_cast<size_t>(c - '0');
    }
    std::string body;
    if (!ReadExactly(connection, body, length, m_stopping)) return;
    std::optional<SimPairs> request = ParseBody(body);
    if (!request) {
        m_sink("unreadable request of " + std::to_string(length) + " bytes");
        return;
    }
    const std::string& key = m_options.key;
    std::string requestSign = ValueOf(*request, "sign");
    SimAnswer answer = !key.empty() && requestSign != SignatureOf(*request, key)
                           ? m_orders->Refusal(*request, "A0", "签名错误")
                           : m_orders->Answer(*request);
    SimAction action = answer.rule.action;
    if (action == SimAction::NoChcd) {
        std::erase_if(answer.pairs, [](const auto& pair) { return pair.first == "chcd"; });
    }
    if (!key.empty()) {
        std::string sign =
            SignatureOf(answer.pairs, action == SimAction::BadSign ? key + "x" : key);
        answer.pairs.emplace_back("sign", sign);
    }
    std::string frame = Frame(BuildBody(answer.pairs));
    ++m_exchanges;
    m_sink(answer.summary + " action=" + ActionName(action));

    switch (action) {
        case SimAction::Silent:
            // Hold the connection until the client gives up or the simulator stops.
            while (WaitReadable(connection, m_stopping, kSilentHoldMs)) {
                char scratch[256];
                if (recv(connection, scratch, sizeof scratch, 0) <= 0) break;
            }
            return;
        case SimAction::CloseMidFrame:
            SendAll(connection, frame.substr(0, frame.size() / 2));
            return;
        case SimAction::Split:
            for (size_t at = 0; at < frame.size() && !m_stopping; at += 7) {
                if (!SendAll(connection, frame.substr(at, 7))) return;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            return;
        case SimAction::Oversize: {
            std::string filler =
                "{\"respcd\":\"00\",\"errorDetail\":\"" + std::string(1468, 'x') + "\"}";
            SendAll(connection, Frame(filler));
            return;
        }
        case SimAction::Garbage:
            SendAll(connection, "0024<html>not a gateway</html>");
            return;
        default:
            SendAll(connection, frame);
            return;
    }
}

namespace {
volatile std::sig_atomic_t g_signalled = 0;
void OnSignal(int) {
    g_signalled = 1;
}
}  // namespace

int RunGatewaySimUntilSignal(const SimOptions& options) {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    GatewaySim sim(options);
    if (!sim.Start()) {
        std::fprintf(stderr, "gateway-sim: cannot listen on 127.0.0.1:%d\n", options.port);
        return 1;
    }
    std::printf("gateway-sim listening on 127.0.0.1:%d\n", sim.Port());
    std::fflush(stdout);
    while (!g_signalled) std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    sim.Stop();
    std::printf("gateway-sim stopped after %d exchanges\n", sim.Exchanges());
    return 0;
}

}  // namespace zelvo::sim
