#include "tests/MISCIL/GatewayTestSupport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "MISCIL/ExchangeLog.h"
#include "MISCIL/FieldTables.h"
#include "MISCIL/MisCil.h"

namespace zelvo::test {

MisCilCfg DemoCfg(int port) {
    MisCilCfg cfg;
    cfg.ServerIP = "127.0.0.1";
    cfg.ServerPort = std::to_string(port);
    // Generous, so a loaded test machine never turns an answer into a time-out.
    cfg.WaitTime = "10";
    cfg.InsCode = "48020000";
    cfg.MerCode = "898310060110001";
    cfg.TermCode = "10000001";
    cfg.Charset = "1";
    cfg.SpacLine = "1";
    cfg.LineWide = "32";
    cfg.MerKey = "Zelvo0123456789abcdefDEMOKEY2026";
    cfg.MerName = u"演示商户";
    cfg.PrintMerPage = "1";
    cfg.PrintCustPage = "0";
    return cfg;
}

MisCilCfg QuickTimeoutCfg(int port) {
    MisCilCfg cfg = DemoCfg(port);
    cfg.WaitTime = "1";
    return cfg;
}

LibraryEnv::LibraryEnv(const MisCilCfg& cfg) {
    nLoadCfg(cfg);
    MisCilCreateContext();
    InitFieldTables(Context());
}

LibraryEnv::~LibraryEnv() {
    MisCilDestroyContext();
    CloseExchangeLog();
    MisCilSetOperatorId("");
}

MisCilContext& LibraryEnv::Context() {
    return *MisCilGetContext();
}

std::string LibraryEnv::Log() const {
    FlushExchangeLog();
    return ReadFile(m_dir.Path() / "logfile.txt");
}

std::string MakeRequest(const RequestFields& f, bool withCurrency) {
    std::string text(withCurrency ? kMisRequestLength : kMisRequestMinLength, ' ');
    PutMisTextField(text.data(), MisRequestField::OrderNum, f.orderNum);
    PutMisTextField(text.data(), MisRequestField::OrigOrderNum, f.origOrderNum);
    PutMisTextField(text.data(), MisRequestField::TxnType, f.txnType);
    PutMisTextField(text.data(), MisRequestField::OrigTxnType, f.origTxnType);
    PutMisTextField(text.data(), MisRequestField::ChannelCode, f.channel);
    PutMisTextField(text.data(), MisRequestField::MisTransAmt, f.amount);
    PutMisTextField(text.data(), MisRequestField::ScanCode, f.scanCode);
    PutMisTextField(text.data(), MisRequestField::TerminalId, f.terminal);
    PutMisTextField(text.data(), MisRequestField::GoodsInfo, f.goods);
    if (withCurrency) PutMisTextField(text.data(), MisRequestField::Currency, f.currency);
    return text;
}

std::string PurchaseRequest(const std::string& orderNum, const std::string& amount,
                            const std::string& scanCode) {
    return MakeRequest({.orderNum = orderNum,
                        .txnType = "PURC",
                        .channel = "SCT",
                        .amount = amount,
                        .scanCode = scanCode,
                        .terminal = "10000001",
                        .currency = "CNY"});
}

ScriptedPeer::ScriptedPeer(std::vector<Step> script, bool holdOpen)
    : m_script(std::move(script)), m_holdOpen(holdOpen) {
    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(m_listener, reinterpret_cast<sockaddr*>(&address), size);
    listen(m_listener, 8);
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Run(); });
}

ScriptedPeer::~ScriptedPeer() {
    m_stopping = true;
    m_thread.join();
    close(m_listener);
}

std::vector<std::string> ScriptedPeer::Requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

namespace {

// Waits up to 50 ms for data; false when the peer should give up this round.
bool Readable(int socket) {
    pollfd waiting{socket, POLLIN, 0};
    return poll(&waiting, 1, 50) > 0;
}

}  // namespace

void ScriptedPeer::Run() {
    while (!m_stopping) {
        if (!Readable(m_listener)) continue;
        int connection = accept(m_listener, nullptr, nullptr);
        if (connection < 0) continue;
        std::string request;
        size_t wanted = 4;
        for (int rounds = 0; request.size() < wanted && rounds < 100 && !m_stopping; ++rounds) {
            if (!Readable(connection)) continue;
            char chunk[2048];
            ssize_t got = recv(connection, chunk, sizeof chunk, 0);
            if (got <= 0) break;
            request.append(chunk, static_cast<size_t>(got));
            if (request.size() >= 4) wanted = 4 + std::stoul(request.substr(0, 4));
        }
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request);
        }
        for (const Step& step : m_script) {
            std::this_thread::sleep_for(std::chrono::milliseconds(step.pauseMsBefore));
            send(connection, step.bytes.data(), step.bytes.size(), MSG_NOSIGNAL);
        }
        while (m_holdOpen && !m_stopping) {
            if (!Readable(connection)) continue;
            char scratch[64];
            if (recv(connection, scratch, sizeof scratch, 0) <= 0) break;
        }
        close(connection);
    }
}

std::string Sha1Hex(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha1(), nullptr);
    std::string hex;
    char digits[3];
    for (unsigned int i = 0; i < size; ++i) {
        std::snprintf(digits, sizeof digits, "%02x", digest[i]);
        hex += digits;
    }
    return hex;
}

int ClosedPort() {
    int probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    close(probe);
    return ntohs(address.sin_port);
}

}  // namespace zelvo::test
