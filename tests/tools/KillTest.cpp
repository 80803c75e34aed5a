#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/TestSupport.h"
#include "tests/tools/ProcessRunner.h"

namespace zelvo {
namespace {

// How the simulated customer behaves, chosen per order by the amount's fen.
struct CustomerKind {
    int fen;
    int longestRunMs;  // kills are spread over about this long
};
// Pays at once; keeps paying for three queries, then pays; pays after the second query, so
// before or after a kill; never pays; paid but the answer never comes.
constexpr CustomerKind kCustomers[] = {{10, 500}, {91, 700}, {90, 600}, {89, 1600}, {93, 1600}};
constexpr int kOrders = 40;
constexpr int kReconcileRounds = 8;

struct BookLine {
    std::string amount;
    std::string state;
};

std::map<std::string, BookLine> ReadPurchases(const std::filesystem::path& book) {
    std::map<std::string, BookLine> purchases;
    std::istringstream lines(test::ReadFile(book));
    std::string line;
    std::getline(lines, line);  // the header
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string order, kind, amount, state;
        std::getline(fields, order, '\t');
        std::getline(fields, kind, '\t');
        std::getline(fields, amount, '\t');
        std::getline(fields, state, '\t');
        if (kind == "purchase") purchases[order] = {amount, state};
    }
    return purchases;
}

// Payments killed at random moments (before the purchase leaves, right after, during the
// queries, between the paying answer and the row, after the row), the customer paying or not,
// then reconciliation until nothing is open: the terminal's rows must match the acquirer's
// book, one row per paid order and none for any other.
TEST(PaymentKillTest, EveryOrderEndsRecordedExactlyWhenTheAcquirerWasPaid) {
    test::ScopedWorkDir dir;
    const std::filesystem::path book = dir.Path() / "book.tsv";
    test::BackgroundProcess sim({GATEWAY_SIM_EXECUTABLE, "--port", "0", "--pending", "3", "--rule",
                                 "90=pending:2", "--rule", "89=pending:999", "--book",
                                 book.string()});
    const std::string banner = sim.ReadLine();
    ASSERT_EQ(banner.rfind("gateway-sim listening on 127.0.0.1:", 0), 0u) << banner;
    const std::string port = banner.substr(banner.rfind(':') + 1);
    test::MakeDeliveredDatabase(dir.Path() / "MISData.db");
    test::RunSql(dir.Path() / "MISData.db",
                 "update SysConfig set Value = '" + port +
                     "' where Name = 'ServerPort';"
                     "update SysConfig set Value = '1' where Name = 'WaitTime';");

    const char* seedText = std::getenv("ZELVO_KILL_SEED");
    const unsigned seed = seedText ? static_cast<unsigned>(std::strtoul(seedText, nullptr, 10))
                                   : std::random_device{}();
    std::mt19937 random(seed);
    int kills = 0;
    for (int i = 0; i < kOrders; ++i) {
        const CustomerKind& customer = kCustomers[random() % std::size(kCustomers)];
        char amount[16];
        std::snprintf(amount, sizeof amount, "%d.%02d", 1 + static_cast<int>(random() % 90),
                      customer.fen);
        test::BackgroundProcess pay({ZELVO_MIS_EXECUTABLE, "pay", "--amount", amount, "--code",
                                     "134567890123456789", "--operator", "01", "--query-interval",
                                     "0.05"});
        // One run in six is left alone, so that whole payments are checked as well.
        if (random() % 6 != 0) {
            std::this_thread::sleep_for(
                std::chrono::milliseconds(random() % customer.longestRunMs));
            if (pay.Running()) ++kills;
        }
        pay.Stop(SIGKILL);
        while (!sim.ReadLine(0).empty()) {
        }
    }

    int rounds = 0;
    for (int exitCode = -1; exitCode != 0 && rounds < kReconcileRounds; ++rounds) {
        test::ProcessResult result = test::RunProcess({ZELVO_MIS_EXECUTABLE, "reconcile"}, "");
        exitCode = result.exitCode;
        ASSERT_NE(exitCode, 1) << result.err;
        while (!sim.ReadLine(0).empty()) {
        }
    }

    const auto db = dir.Path() / "MISData.db";
    EXPECT_EQ(test::QueryText(db, "select count(*) from TBL_ORDER_JOURNAL where STATE = 'open'"),
              "0");
    std::map<std::string, BookLine> purchases = ReadPurchases(book);
    int paid = 0;
    for (const auto& [order, line] : purchases) {
        SCOPED_TRACE("order " + order + " seed " + std::to_string(seed));
        EXPECT_NE(line.state, "open");
        const std::string rows = test::QueryText(
            db, "select count(*) from TBL_TRANS_LOG where ORDER_NUM = '" + order + "'");
        if (line.state == "paid") {
            ++paid;
            EXPECT_EQ(rows, "1");
            EXPECT_EQ(test::QueryText(db,
                                      "select printf('%.2f', TRANS_AMT) from TBL_TRANS_LOG "
                                      "where ORDER_NUM = '" +
                                          order + "'"),
                      line.amount);
        } else {
            EXPECT_EQ(rows, "0");
        }
    }
    // No row for an order the acquirer does not hold as paid.
    EXPECT_EQ(test::QueryText(db, "select count(*) from TBL_TRANS_LOG"), std::to_string(paid));

    std::printf("kills: %d, orders checked: %zu (paid %d), reconcile rounds: %d, seed %u\n", kills,
                purchases.size(), paid, rounds, seed);
    EXPECT_GT(kills, 0);
}

}  // namespace
}  // namespace zelvo
