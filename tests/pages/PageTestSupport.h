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
#include "config/TerminalConfig.h"
#include "payment/ExchangeRunner.h"
#include "payment/FlowServices.h"
#include "payment/GatewayExchange.h"
#include "operator/CurrentOperator.h"
#include "store/CLocalDb.h"
#include "store/LocalDb.h"
#include "tests/pages/FakeShellHost.h"
#include "tests/support/ScriptedGateway.h"
#include "tests/support/TestSupport.h"

namespace zelvo::test {

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
