#pragma once

#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <QApplication>
#include <QThread>

#include "MISCIL/TransRecord.h"
#include "app/config/TerminalConfig.h"
#include "payment/ExchangeRunner.h"
#include "payment/FlowServices.h"
#include "payment/GatewayExchange.h"
#include "shell/login/CurrentOperator.h"
#include "store/CLocalDb.h"
#include "store/LocalDb.h"
#include "tests/pages/FakeShellHost.h"
#include "tests/support/TestSupport.h"

namespace zelvo::test {

// One answer the scripted gateway gives.
struct ScriptedAnswer {
    std::string txnType;
    std::string respCode;
    std::string channelCode = "WXP";
    double amount = 0.0;
    std::string orderNum;
    std::string origOrderNum;
    int result = 1;
    int lastError = 0;
};

// A gateway that answers from a script, and can hold an exchange until released so that a test
// can act while the answer is outstanding.
class ScriptedGateway : public GatewayExchange {
public:
    void Queue(ScriptedAnswer answer) {
        std::lock_guard lock(m_mutex);
        m_answers.push_back(std::move(answer));
    }
    void HoldExchanges(bool hold) {
        {
            std::lock_guard lock(m_mutex);
            m_hold = hold;
        }
        m_released.notify_all();
    }
    int Exchange(const char* request) override {
        std::unique_lock lock(m_mutex);
        m_requests.emplace_back(request);
        m_released.wait(lock, [this] { return !m_hold; });
        std::memset(&m_record, 0, sizeof(m_record));
        if (m_answers.empty()) {
            m_lastError = 1;
            return 0;
        }
        ScriptedAnswer answer = m_answers.front();
        m_answers.pop_front();
        SetFieldValue(m_record.saTxnType, answer.txnType);
        SetFieldValue(m_record.saRespCode, answer.respCode);
        SetFieldValue(m_record.saChannelCode, answer.channelCode);
        SetFieldValue(m_record.saOrderNum, answer.orderNum);
        SetFieldValue(m_record.saOrigOrderNum, answer.origOrderNum);
        m_record.dTransAmt = answer.amount;
        m_lastError = answer.lastError;
        return answer.result;
    }
    int LastError() const override { return m_lastError; }
    // Only a connection that failed kept the request on this side.
    bool RequestSent() const override { return m_lastError != 14; }
    const TransRecord* Record() const override { return &m_record; }
    size_t RequestCount() {
        std::lock_guard lock(m_mutex);
        return m_requests.size();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    std::deque<ScriptedAnswer> m_answers;
    std::vector<std::string> m_requests;
    bool m_hold = false;
    TransRecord m_record{};
    int m_lastError = 0;
};

// Runs the event loop until `done` holds or a generous number of rounds has passed; answers
// whether it holds.
inline bool SpinUntil(const std::function<bool()>& done, int rounds = 2000) {
    for (int i = 0; i < rounds && !done(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
    return done();
}

// The delivered database in a fresh working folder, its configuration, a logged-in operator
// and the services the operation pages take.
class PagesEnvironment {
public:
    explicit PagesEnvironment(GatewayExchange& gateway, const std::string& operatorId = "01",
                              const std::string& password = "123456")
        : m_runner(gateway, [](std::function<void()> work) {
              QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
          }) {
        MakeDeliveredDatabase(DbPath());
        m_db.Open(u"MISData.db");
        LoadTerminalConfig(m_db, m_config);
        GetCurrentOperator().operatorId = operatorId;
        GetCurrentOperator().password = password;
        SetEndOfShiftFlag(false);
    }
    ~PagesEnvironment() {
        // The pages' gateway context opens the process's database in this folder; it goes too.
        CloseLocalDb();
        GetCurrentOperator().Clear();
        SetEndOfShiftFlag(false);
    }

    FlowServices Services() {
        return FlowServices{m_runner, [this] { return &m_db; },
                            [] { return GetCurrentOperator().operatorId; }, [this] { ++printJobs; },
                            m_config};
    }
    std::filesystem::path DbPath() const { return m_dir.Path() / "MISData.db"; }
    CLocalDb& Db() { return m_db; }
    TerminalConfig& Config() { return m_config; }
    ExchangeRunner& Runner() { return m_runner; }

    int printJobs = 0;

private:
    ScopedWorkDir m_dir;
    CLocalDb m_db;
    TerminalConfig m_config;
    ExchangeRunner m_runner;
};

}  // namespace zelvo::test
