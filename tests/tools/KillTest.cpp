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
constexpr CustomerKind kCustomers[] = {{10, 150}, {91, 400}, {90, 350}, {89, 1300}, {93, 1300}};
// A quarter of the kills fall into the first moments: start-up, the journal row, the purchase.
constexpr int kEarlyMs = 150;
constexpr int kOrders = 60;
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
    const auto db = dir.Path() / "MISData.db";
    // Where each kill struck, told afterwards by the journal and the acquirer's book.
    std::map<std::string, int> kills;
    int killed = 0;
    for (int i = 0; i < kOrders; ++i) {
        const CustomerKind& customer = kCustomers[random() % std::size(kCustomers)];
        char amount[16];
        std::snprintf(amount, sizeof amount, "%d.%02d", 1 + static_cast<int>(random() % 90),
                      customer.fen);
        const std::string journalled =
            test::QueryText(db, "select count(*) from TBL_ORDER_JOURNAL");
        test::BackgroundProcess pay({ZELVO_MIS_EXECUTABLE, "pay", "--amount", amount, "--code",
                                     "134567890123456789", "--operator", "01", "--query-interval",
                                     "0.05"});
        // One run in six is left alone, so that whole payments are checked as well.
        const bool kill = random() % 6 != 0;
        if (kill) {
            const int span = random() % 4 == 0 ? kEarlyMs : customer.longestRunMs;
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % span));
        }
        for (int waited = 0; !kill && pay.Running() && waited < 3000; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const bool running = pay.Running();
        pay.Stop(SIGKILL);
        while (!sim.ReadLine(0).empty()) {
        }
        if (!kill || !running) continue;
        ++killed;
        if (test::QueryText(db, "select count(*) from TBL_ORDER_JOURNAL") == journalled) {
            ++kills["before the journal row"];
            continue;
        }
        const std::string last = test::QueryText(
            db,
            "select ORDER_NUM || ' ' || STATE from TBL_ORDER_JOURNAL order by SENT_TIME "
            "desc, ORDER_NUM desc limit 1");
        const std::string order = last.substr(0, last.find(' '));
        const std::string state = last.substr(last.find(' ') + 1);
        const auto atGateway = ReadPurchases(book);
        const auto found = atGateway.find(order);
        if (state != "open") {
            ++kills["after the outcome was written"];
        } else if (found == atGateway.end()) {
            ++kills["before the purchase was answered"];
        } else if (found->second.state == "paid") {
            ++kills["paid at the gateway, no row yet"];
        } else {
            ++kills["while the customer was paying"];
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

    std::printf("kills: %d, orders checked: %zu (paid %d), reconcile rounds: %d, seed %u\n", killed,
                purchases.size(), paid, rounds, seed);
    for (const auto& [where, count] : kills) std::printf("  killed %s: %d\n", where.c_str(), count);
    EXPECT_GT(killed, 0);
}

}  // namespace
}  // namespace zelvo
