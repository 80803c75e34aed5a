#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "MISCIL/CfgValues.h"
#include "MISCIL/MisCilContext.h"
#include "tests/support/TestSupport.h"

namespace zelvo::test {

// The demo terminal's gateway values, pointed at `port` on the loopback.
MisCilCfg DemoCfg(int port = 17601);
// The same with the shortest waiting time, for tests that wait for the time-out.
MisCilCfg QuickTimeoutCfg(int port);

// A working folder with the library configured and the process context created; everything
// is torn down again (log closed, context destroyed) before the folder goes.
class LibraryEnv {
public:
    explicit LibraryEnv(const MisCilCfg& cfg = DemoCfg());
    ~LibraryEnv();
    LibraryEnv(const LibraryEnv&) = delete;
    LibraryEnv& operator=(const LibraryEnv&) = delete;

    MisCilContext& Context();
    std::string Log() const;  // logfile.txt as it stands
    const std::filesystem::path& Dir() const { return m_dir.Path(); }

private:
    ScopedWorkDir m_dir;
};

// The values of a fixed-width request; blank fields stay spaces.
struct RequestFields {
    std::string orderNum;
    std::string origOrderNum;
    std::string txnType;
    std::string origTxnType;
    std::string channel;
    std::string amount;
    std::string scanCode;
    std::string terminal;
    std::string goods;
    std::string currency;
};
std::string MakeRequest(const RequestFields& fields, bool withCurrency = true);
std::string PurchaseRequest(const std::string& orderNum, const std::string& amount,
                            const std::string& scanCode = "134567890123456789");

// A peer on 127.0.0.1 that takes one connection at a time, reads one framed request and plays
// its script: chunks of bytes with pauses, then it closes, or holds the connection open until
// the client goes. It refuses nothing and stops by itself when the test ends.
class ScriptedPeer {
public:
    struct Step {
        std::string bytes;
        int pauseMsBefore = 0;
    };
    explicit ScriptedPeer(std::vector<Step> script, bool holdOpen = false);
    ~ScriptedPeer();

    int Port() const { return m_port; }
    std::vector<std::string> Requests() const;

private:
    void Run();

    std::vector<Step> m_script;
    bool m_holdOpen;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    std::thread m_thread;
};

// SHA-1 as 40 lowercase hexadecimal digits, computed through OpenSSL's EVP interface.
std::string Sha1Hex(const std::string& bytes);

// A port on which nothing listens.
int ClosedPort();

}  // namespace zelvo::test
