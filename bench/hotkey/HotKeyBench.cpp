// Times the show key from its key press (sent by another X client, as the keyboard would) to the
// amount in the payment page's box with the cashier raised and active, against the same show
// started by a direct call (no key on the way) in the same run.
//
//   bench_hotkey [--runs N]        (needs an X server: DISPLAY, or run it under xvfb-run)
//
// The amount capture is a stand-in unless the program is built with it: a 200 x 40 copy of the
// screen written to "cut.bmp" and a fixed amount placed, without recognition.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include "app/CaptureWiring.h"
#include "config/TerminalConfig.h"
#include "bench/store/BenchDatabase.h"
#include "platform/GlobalHotKeys.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/SkinEdit.h"
#include "operator/CurrentOperator.h"
#include "shell/pages/OperationPages.h"
#include "shell/pages/PaymentPage.h"
#include "shell/pages/PaymentPanel.h"
#include "shell/window/MainWindow.h"
#include "shell/window/PageArea.h"
#include "store/LocalDb.h"
#include "tests/support/CashierWindow.h"
#include "tests/support/XKeySender.h"

namespace zelvo::bench {
namespace {

using Clock = std::chrono::steady_clock;

const QString kTotal = QStringLiteral("128.50");
const QRect kRegion(1000, 300, 200, 40);

bool SpinUntil(const std::function<bool()>& done) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (Clock::now() > deadline) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

class Cashier {
public:
    Cashier() {
        MainWindowSetup setup =
            test::CashierWindowSetup(*GetLocalDb(), m_operations, QRect(0, 0, 1366, 768));
        setup.hotKeys = CreateSystemHotKeys();
        m_window = std::make_unique<MainWindow>(std::move(setup));
        // The real capture: screen copy, cleaning as OpencvFlag says, recognition, amount rules.
        m_capture = std::make_unique<CaptureWiring>(*setup.db, *m_window, u"");
        m_window->PlaceAndShow();
        SpinUntil([this] { return m_window->isActiveWindow(); });
        test::LogInDemoOperator(*m_window);
    }
    ~Cashier() {
        m_capture.reset();
        m_window.reset();
    }

    bool LoggedIn() const { return m_window->CurrentPage() == PageId::Payment; }
    MainWindow& Window() { return *m_window; }
    PaymentPanel& Panel() const {
        return static_cast<PaymentPage*>(m_window->Page(PageId::Payment))->Panel();
    }
    bool RaisedWithTheTotal() const {
        return m_window->isActiveWindow() && !m_window->isMinimized() &&
               Panel().AmountBox()->text() == kTotal &&
               QApplication::focusWidget() == Panel().CodeBox();
    }

private:
    OperationServices m_operations;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<CaptureWiring> m_capture;
};

// Milliseconds from `show` to the cashier raised with the total, for each run; the cashier is
// hidden with the hide key and the till given the keyboard before each.
std::vector<double> TimeShows(Cashier& cashier, QLabel& till, test::XKeySender& keys, int runs,
                              const std::function<void()>& show) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        keys.Press({"Control_L"}, "b");
        if (!SpinUntil([&] { return cashier.Window().isMinimized(); })) break;
        cashier.Panel().AmountBox()->clear();
        till.activateWindow();
        if (!SpinUntil([&] { return QApplication::activeWindow() == &till; })) break;
        const auto start = Clock::now();
        show();
        if (!SpinUntil([&] { return cashier.RaisedWithTheTotal(); })) break;
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return times;
}

int Run(int runs) {
    const auto dir = std::filesystem::temp_directory_path() / "zelvo-bench-hotkey";
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
    MakeLogDatabase(dir / "MISData.db", 0);
    CLocalDb* db = GetLocalDb();
    if (!db) return 1;
    // The till shows its total inside the stored capture region.
    db->Execute("delete from SysConfig where Name = 'CutRect'");
    db->Execute("insert into SysConfig(Name, Value) values('CutRect', ?)",
                {std::string("1000,300,1200,340")});
    LoadTerminalConfig(*db, GetTerminalConfig());

    test::XKeySender keys;
    if (!keys.Connected()) {
        std::fputs("bench_hotkey: no X display\n", stderr);
        return 1;
    }
    QLabel till(kTotal);
    till.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    till.setStyleSheet(QStringLiteral("background: white; color: black; font: bold 26px;"));
    till.setAlignment(Qt::AlignCenter);
    till.setGeometry(kRegion);
    till.show();

    int status = 1;
    {
        Cashier cashier;
        if (cashier.LoggedIn()) {
            const auto byKey =
                TimeShows(cashier, till, keys, runs, [&] { keys.Press({"Control_L"}, "a"); });
            const auto direct =
                TimeShows(cashier, till, keys, runs, [&] { cashier.Window().ShowFromHotKey(); });
            if (static_cast<int>(byKey.size()) == runs && static_cast<int>(direct.size()) == runs) {
                const double key = Median(byKey);
                const double call = Median(direct);
                std::printf(
                    "show key, press to amount in box with window raised "
                    "(whole capture of a 200x40 region: screen copy, recognition, amount rules)\n");
                std::printf("  median over %d runs: %.2f ms (target <= 60 ms)\n", runs, key);
                std::printf("  baseline, the same show by a direct call: %.2f ms\n", call);
                std::printf("  ratio key / direct: %.2f\n", call > 0 ? key / call : 0.0);
                status = 0;
            } else {
                std::fputs("bench_hotkey: a show did not complete\n", stderr);
            }
        }
    }
    CloseLocalDb();
    GetCurrentOperator().Clear();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(dir);
    return status;
}

}  // namespace
}  // namespace zelvo::bench

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "xcb", 0);
    // The recognition data as installed by the system, unless the caller points elsewhere.
    setenv("TESSDATA_PREFIX", "/usr/share/tesseract-ocr/5/tessdata", 0);
    int runs = 30;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[i + 1]));
    }
    QApplication app(argc, argv);
    return zelvo::bench::Run(runs);
}
