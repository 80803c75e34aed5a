#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "config/TerminalConfig.h"
#include "payment/FlowServices.h"
#include "payment/OrderJournal.h"
#include "store/CLocalDb.h"
#include "tests/payment/FlowTestSupport.h"
#include "tests/support/TestSupport.h"

namespace zelvo::test {

// A scripted gateway that notes, as each request leaves, how the journal row of the order the
// request is about stands, read through a connection of its own (so only committed rows count).
class JournalWatchingGateway : public ScriptedGateway {
public:
    explicit JournalWatchingGateway(std::filesystem::path db) : m_db(std::move(db)) {}
    int Exchange(const char* request) override;
    std::vector<std::string> StatesSeen() const;

private:
    std::filesystem::path m_db;
    mutable std::mutex m_seenMutex;
    std::vector<std::string> m_seen;
};

// A delivered database with the journal, a watching gateway, and the test as the
// user-interface thread.
class JournalTest : public ::testing::Test {
protected:
    void SetUp() override;
    FlowServices Services();
    void Script(std::initializer_list<ScriptedAnswer> answers);
    void Settle();
    std::string Text(const std::string& sql);
    std::string StateOf(const std::string& orderNum);
    int LogRows(const std::string& orderNum);
    // An open row, as a run that ended before the outcome would have left it.
    JournalEntry InsertOpen(const std::string& orderNum, const std::string& txnType,
                            const std::string& amount, const std::string& operatorId = "07");

    ScopedWorkDir m_dir;
    CLocalDb m_db;
    TerminalConfig m_config;
    OrderJournal m_journal;
    int m_leftOpen = 0;
    int m_prints = 0;
    JournalWatchingGateway m_gateway{m_dir.Path() / "MISData.db"};
    QueuedPoster m_poster;
    ExchangeRunner m_runner{m_gateway, m_poster.Poster()};
};

}  // namespace zelvo::test
