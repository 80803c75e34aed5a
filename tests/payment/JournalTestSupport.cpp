#include "tests/payment/JournalTestSupport.h"

#include "MISCIL/FieldTables.h"
#include "store/StartupMaintenance.h"

namespace zelvo::test {

int JournalWatchingGateway::Exchange(const char* request) {
    std::string text(request);
    // Purchases and refunds are journalled by their own number, queries and cancels by theirs.
    const std::string type = RequestField(text, MisRequestField::TxnType);
    std::string order =
        RequestField(text, type == "PURC" || type == "REFD" ? MisRequestField::OrderNum
                                                            : MisRequestField::OrigOrderNum);
    std::string state =
        QueryText(m_db, "select STATE from TBL_ORDER_JOURNAL where ORDER_NUM = '" + order + "'");
    {
        std::lock_guard lock(m_seenMutex);
        m_seen.push_back(state);
    }
    return ScriptedGateway::Exchange(request);
}

std::vector<std::string> JournalWatchingGateway::StatesSeen() const {
    std::lock_guard lock(m_seenMutex);
    return m_seen;
}

void JournalTest::SetUp() {
    MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
    ASSERT_TRUE(m_db.Open(u"MISData.db"));
    CreateOrderJournal(m_db);
    m_config.PrintCustPage = "1";
    m_config.PrintMerPage = "1";
    m_journal.SetLeftOpenHandler([this] { ++m_leftOpen; });
}

FlowServices JournalTest::Services() {
    FlowServices services{m_runner, [this] { return &m_db; }, [] { return "01"; },
                          [this] { ++m_prints; }, m_config};
    services.journal = &m_journal;
    return services;
}

void JournalTest::Script(std::initializer_list<ScriptedAnswer> answers) {
    for (const ScriptedAnswer& answer : answers) m_gateway.Script(answer);
}

void JournalTest::Settle() {
    while (m_runner.IsRunning() && m_poster.DeliverOne()) {
    }
}

std::string JournalTest::Text(const std::string& sql) {
    return QueryText(m_dir.Path() / "MISData.db", sql);
}

std::string JournalTest::StateOf(const std::string& orderNum) {
    return JournalStateOf(m_db, orderNum);
}

int JournalTest::LogRows(const std::string& orderNum) {
    SqlRows rows;
    m_db.Query("select count(*) from TBL_TRANS_LOG where ORDER_NUM = ?", {orderNum}, rows);
    return rows.rows.empty() ? -1 : std::stoi(rows.rows[0][0]);
}

JournalEntry JournalTest::InsertOpen(const std::string& orderNum, const std::string& txnType,
                                     const std::string& amount, const std::string& operatorId) {
    JournalEntry entry =
        NewJournalEntry(txnType, orderNum, amount, operatorId, LocalTime{2026, 3, 15, 10, 0, 0});
    if (txnType == "REFD") entry.origOrderNum = "20260315090000000111111";
    EXPECT_TRUE(JournalInsert(m_db, entry));
    return entry;
}

}  // namespace zelvo::test
