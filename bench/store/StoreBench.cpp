// Times the statements of the transaction list, the settlement and the start-up pruning on a
// MISData.db with a million log rows, and the same statements on a copy without the indexes;
// then the pruning against the plain delete on databases with other shares of old rows.
//
//   bench_store [--rows N] [--dir FOLDER]

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "BenchDatabase.h"
#include "config/TerminalConfig.h"
#include "base/CodePage.h"
#include "payment/Settlement.h"
#include "payment/SettlementView.h"
#include "payment/TransactionList.h"
#include "payment/TransactionListView.h"
#include "store/CLocalDb.h"
#include "store/LogPruning.h"
#include "store/StartupMaintenance.h"

namespace zelvo::bench {
namespace {

class SilentListView : public TransactionListView {
public:
    void ShowRows(const std::vector<QueryRow>& rows) override { shownRows = rows.size(); }
    void SelectRow(std::size_t) override {}
    std::optional<std::size_t> SelectedRow() const override { return std::nullopt; }
    void FocusGrid() override {}
    std::u16string SearchText() const override { return search; }
    void SetSearchText(const std::u16string&) override {}
    void FocusSearchBox() override {}
    void ShowMessage(MessageKind, const std::u16string& text) override { message = text; }

    std::size_t shownRows = 0;
    std::u16string search;
    std::u16string message;
};

class SilentSettlementView : public SettlementView {
public:
    void ShowMessage(MessageKind, const std::u16string& text) override { message = text; }
    void ClearPasswordField() override {}
    void ClosePasswordPrompt() override {}
    void StartPrinting() override {}
    void SettlementDone() override {}

    std::u16string message;
};

class BenchClock final : public Clock {
public:
    LocalTime Now() const override { return LocalTime{2026, 12, 7, 9, 0, 0}; }
};

double Milliseconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

struct Database {
    const char* name;
    CLocalDb db;
};

void Report(const char* what, double indexed, double plain) {
    std::printf("%-44s %12.3f %12.3f %10.1fx\n", what, indexed, plain, plain / indexed);
}

// Runs `run` on each database `repeats` times and reports the medians of what it timed.
void Measure(const char* what, Database& indexed, Database& plain, int repeats,
             const std::function<double(CLocalDb&, int)>& run) {
    double medians[2];
    Database* databases[2] = {&indexed, &plain};
    for (int d = 0; d < 2; ++d) {
        std::vector<double> samples;
        for (int i = 0; i < repeats; ++i) samples.push_back(run(databases[d]->db, i));
        medians[d] = Median(samples);
    }
    Report(what, medians[0], medians[1]);
}

std::string OrderOfRow(CLocalDb& db, long long rowid) {
    SqlRows rows;
    db.Query("select ORDER_NUM from TBL_TRANS_LOG where rowid = ?",
             {static_cast<std::int64_t>(rowid)}, rows);
    return rows.rows.empty() ? std::string() : rows.rows[0][0];
}

// Times the search alone, on a list refreshed beforehand as the page has it.
double Search(CLocalDb& db, const std::string& order) {
    SilentListView view;
    TransactionList list([&db] { return &db; }, view);
    list.RefreshList();
    view.search = Utf8ToUtf16(order);
    return Milliseconds([&] { list.SearchOrder(); });
}

// Copies `from` to `to` and has the copy on disk: otherwise the first commit on it would wait
// for the whole file to be written, and time that instead of the statement.
void CopyToDisk(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    const int file = ::open(to.c_str(), O_RDONLY);
    if (file >= 0) {
        ::fsync(file);
        ::close(file);
    }
}

// Copies `from` to `to` and opens the copy with `db`; false when that fails.
bool CopyAndOpen(const std::filesystem::path& from, const std::filesystem::path& to,
                 CLocalDb& db) {
    CopyToDisk(from, to);
    if (db.Open(to.u16string())) return true;
    std::fprintf(stderr, "cannot open %s\n", to.c_str());
    return false;
}

// Opens the database as the window's start-up does, the pruning left running behind it; the
// milliseconds until the window could go on, and until the pruning had ended.
std::pair<double, double> WindowStartup(const std::filesystem::path& path, const LocalTime& today) {
    CLocalDb db;
    std::unique_ptr<BackgroundLogPruning> pruning;
    const auto start = std::chrono::steady_clock::now();
    const double opened = Milliseconds([&] {
        if (!db.Open(path.u16string())) std::fprintf(stderr, "cannot open %s\n", path.c_str());
        RunStartupMaintenance(db);
        pruning = std::make_unique<BackgroundLogPruning>(path.u16string(), today);
    });
    pruning->Wait();
    const double pruned =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return {opened, pruned};
}

void ReportWindowStartup(const std::filesystem::path& path, const LocalTime& today) {
    const auto [monthOpened, monthPruned] = WindowStartup(path, today);
    std::vector<double> opened;
    for (int i = 0; i < 5; ++i) opened.push_back(WindowStartup(path, today).first);
    const double quietOpened = Median(opened);
    std::printf("\n%-44s %12s %12s %11s\n", "window start-up, database step (ms)",
                "month to go", "none to go", "ratio");
    std::printf("%-44s %12.3f %12.3f %10.1fx\n", "until the window goes on", monthOpened,
                quietOpened, monthOpened / quietOpened);
    std::printf("%-44s %12.3f\n", "until the background pruning has ended", monthPruned);
}

// The median milliseconds of `prune` over three runs, each on a fresh copy of `path`.
double PruneCopies(const std::filesystem::path& path, const std::filesystem::path& copy,
                   const std::function<void(CLocalDb&)>& prune) {
    std::vector<double> samples;
    for (int i = 0; i < 3; ++i) {
        CLocalDb db;
        if (!CopyAndOpen(path, copy, db)) return 0;
        samples.push_back(Milliseconds([&] { prune(db); }));
    }
    return Median(samples);
}

// The longest a read on another connection, as the login panel's, waited while `prune` ran on
// a copy of `path`.
double LongestReadWait(const std::filesystem::path& path, const std::filesystem::path& copy,
                       const std::function<void(CLocalDb&)>& prune) {
    CLocalDb db;
    CLocalDb reader;
    if (!CopyAndOpen(path, copy, db) || !reader.Open(copy.u16string())) return 0;
    std::atomic<bool> done{false};
    std::thread pruning([&] {
        prune(db);
        done = true;
    });
    double longest = 0;
    while (!done) {
        SqlRows rows;
        longest = std::max(
            longest, Milliseconds([&] { reader.Query("select count(*) from User", {}, rows); }));
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    pruning.join();
    return longest;
}

void ReportPruningLine(const char* what, double pruning, double statement, double readWait = -1) {
    std::printf("%-44s %12.3f %12.3f %10.2fx", what, pruning, statement, pruning / statement);
    if (readWait >= 0) std::printf(" %10.1f", readWait);
    std::printf("%s\n", pruning <= statement ? "" : "  slower");
}

// The till's pruning on the indexed database against the single delete on the copy without
// indexes: for the month of the databases above, then for other shares of old rows.
void ReportPruning(const std::filesystem::path& folder, const std::filesystem::path& indexedPath,
                   const std::filesystem::path& plainPath, int rows, const LocalTime& today) {
    const auto copy = folder / "MISData-pruned.db";
    const auto statement = [&](CLocalDb& db) {
        db.Execute("delete from TBL_TRANS_LOG where SYS_DATE < " + PruneCutoff(today));
    };
    const auto pruning = [&](CLocalDb& db) { PruneOldLogRows(db, today); };
    std::printf("\n%-44s %12s %12s %11s %10s\n", "pruning the old rows (median ms)", "indexed db",
                "statement", "ratio", "read wait");
    std::printf(
        "(indexed db: the pruning on the database with its indexes; statement: one delete "
        "on the copy without indexes;\n ratio: pruning / statement, no slower at 1.00x or "
        "less; read wait: the longest a read on\n another connection waited during the "
        "pruning)\n");
    const double plainStatement = PruneCopies(plainPath, copy, statement);
    ReportPruningLine("one statement with the indexes (before)",
                      PruneCopies(indexedPath, copy, statement), plainStatement);
    char what[64];
    std::snprintf(what, sizeof what, "PruneOldLogRows, %.0f%% of rows old", kEvenJulyShare * 100);
    ReportPruningLine(what, PruneCopies(indexedPath, copy, pruning), plainStatement,
                      LongestReadWait(indexedPath, copy, pruning));
    const auto shareIndexed = folder / "MISData-share.db";
    const auto sharePlain = folder / "MISData-share-no-indexes.db";
    for (double share : {0.05, 0.30, 0.60, 0.90}) {
        MakeLogDatabase(shareIndexed, rows, share);
        CopyWithoutIndexes(shareIndexed, sharePlain);
        std::snprintf(what, sizeof what, "PruneOldLogRows, %.0f%% of rows old", share * 100);
        ReportPruningLine(what, PruneCopies(shareIndexed, copy, pruning),
                          PruneCopies(sharePlain, copy, statement),
                          LongestReadWait(shareIndexed, copy, pruning));
    }
}

int Run(int rows, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const auto indexedPath = folder / "MISData.db";
    const auto plainPath = folder / "MISData-no-indexes.db";
    std::printf("making %d log rows in %s ...\n", rows, folder.c_str());
    const double made = Milliseconds([&] {
        MakeLogDatabase(indexedPath, rows);
        CopyWithoutIndexes(indexedPath, plainPath);
    });
    std::printf("made in %.1f s\n\n", made / 1000);

    Database indexed{"indexed", {}};
    Database plain{"no indexes", {}};
    if (!indexed.db.Open(indexedPath.u16string()) || !plain.db.Open(plainPath.u16string())) {
        std::fprintf(stderr, "cannot open the databases\n");
        return 1;
    }
    std::printf("%-44s %12s %12s %11s\n", "statement (median ms)", "indexed", "no indexes",
                "ratio");

    Measure("list refresh (newest 100)", indexed, plain, 7, [](CLocalDb& db, int) {
        SilentListView view;
        TransactionList list([&db] { return &db; }, view);
        const double ms = Milliseconds([&] { list.RefreshList(); });
        if (view.shownRows != kListedRows) std::fprintf(stderr, "list shows %zu\n", view.shownRows);
        return ms;
    });

    const std::string oldOrder = OrderOfRow(indexed.db, rows / 3);
    Measure("order search, order of an older row", indexed, plain, 5,
            [&](CLocalDb& db, int) { return Search(db, oldOrder); });
    Measure("order search, no such order", indexed, plain, 5,
            [](CLocalDb& db, int) { return Search(db, "99999999999999999999"); });

    TerminalConfig config;
    config.MerName = u"Zelvo演示商户";
    config.LineWide = "32";
    const auto billPath = folder / "SCprint.txt";
    Measure("settlement of one operator (2000 open rows)", indexed, plain, 5,
            [&](CLocalDb& db, int run) {
                SilentSettlementView view;
                const std::string id = "0" + std::to_string(run + 1);
                Settlement settlement([&db] { return &db; }, config,
                                      [id] {
                                          return SettlingOperator{id, "pw"};
                                      },
                                      view, billPath);
                const double ms = Milliseconds([&] { settlement.SettleOperator(u"pw"); });
                if (view.message != u"结算成功！") std::fprintf(stderr, "settlement failed\n");
                return ms;
            });

    BenchClock clock;
    ReportPruning(folder, indexedPath, plainPath, rows, clock.Now());
    // A copy that still holds the month to prune, for the window's start-up below.
    const auto startupPath = folder / "MISData-startup.db";
    CopyToDisk(indexedPath, startupPath);
    // The databases measured above, pruned, for the start that finds nothing to prune.
    PruneOldLogRows(indexed.db, clock.Now());
    PruneOldLogRows(plain.db, clock.Now());
    Measure("start-up pruning, nothing to prune", indexed, plain, 5, [&](CLocalDb& db, int) {
        return Milliseconds([&] { PruneOldLogRows(db, clock.Now()); });
    });
    ReportWindowStartup(startupPath, clock.Now());
    return 0;
}

}  // namespace
}  // namespace zelvo::bench

int main(int argc, char** argv) {
    int rows = 1000000;
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("zelvo-bench-store-" + std::to_string(::getpid()));
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rows") == 0 && i + 1 < argc) {
            rows = std::clamp(std::atoi(argv[++i]), 50000, 10000000);
        } else if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
            folder = argv[++i];
            keep = true;
        } else {
            std::fprintf(stderr, "usage: bench_store [--rows N] [--dir FOLDER]\n");
            return 2;
        }
    }
    const int result = zelvo::bench::Run(rows, folder);
    if (!keep) std::filesystem::remove_all(folder);
    return result;
}
