// Reads a generated corpus of till totals with the amount reader's chain (with and without
// cleaning) and with plain Tesseract on the original image, and times a whole CaptureAmount of
// a 200 × 40 region when an X display is there.
//
//   bench_recognize [--count N] [--seed S] [--dir FOLDER] [--captures N] [--fonts A,B,...]
//                   [--unit close]
//
// --fonts draws the totals in those families (those installed) instead of the usual ones: how
// the reader does on fonts it was never tuned on. --unit close writes "元" right after every
// total ("128元"), as many tills do.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QThread>
#include <QWidget>

#include "TillCorpus.h"
#include "base/CodePage.h"
#include "capture/AmountCapture.h"
#include "capture/CaptureTarget.h"
#include "recognize/AmountChain.h"
#include "store/CLocalDb.h"

namespace fs = std::filesystem;

namespace zelvo::bench {
namespace {

using Clock = std::chrono::steady_clock;

struct Tally {
    const char* name;
    int right = 0;
    int wrong = 0;
    int none = 0;
    std::vector<double> ms;
    std::vector<std::string> wrongReads;
};

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t at =
        std::min(values.size() - 1, static_cast<size_t>(share * (values.size() - 1) + 0.5));
    return values[at];
}

// The amount in cents, when the text is one ("12", "12.5", "12.50"); none otherwise.
std::optional<long long> Cents(const std::string& text) {
    long long cents = 0;
    int decimals = -1;
    for (const char c : text) {
        if (c == '.' && decimals < 0) {
            decimals = 0;
        } else if (c >= '0' && c <= '9' && decimals < 2 && cents < 1'000'000'000'000LL) {
            cents = cents * 10 + (c - '0');
            if (decimals >= 0) ++decimals;
        } else {
            return std::nullopt;
        }
    }
    if (text.empty() || text == ".") return std::nullopt;
    for (int d = std::max(decimals, 0); d < 2; ++d) cents *= 10;
    return cents;
}

// "1" read for a total shown as "1.0" is the same sum in the amount box, and counts as right.
bool SameAmount(const std::string& read, const std::string& truth) {
    const std::optional<long long> a = Cents(read);
    return read == truth || (a && a == Cents(truth));
}

void Count(Tally& tally, const std::string& read, const std::string& truth, const fs::path& image,
           double ms) {
    tally.ms.push_back(ms);
    if (read.empty()) {
        ++tally.none;
    } else if (SameAmount(read, truth)) {
        ++tally.right;
    } else {
        ++tally.wrong;
        tally.wrongReads.push_back(image.filename().string() + ": " + read + " for " + truth);
    }
}

// Plain Tesseract: the original image in single-line mode, no cleaning, no whitelist; the
// amount is its digits and points, with no rule for doubt.
class PlainTesseract {
public:
    PlainTesseract() {
        m_api.SetVariable("debug_file", "/dev/null");
        m_ok = m_api.Init(nullptr, "eng", tesseract::OEM_LSTM_ONLY) == 0;
        m_api.SetPageSegMode(tesseract::PSM_SINGLE_LINE);
    }
    ~PlainTesseract() { m_api.End(); }
    std::string Read(const fs::path& image) {
        Pix* pix = pixRead(image.c_str());
        if (!pix || !m_ok) return {};
        m_api.SetImage(pix);
        std::unique_ptr<char[]> text(m_api.GetUTF8Text());
        pixDestroy(&pix);
        std::string amount;
        for (const char* c = text.get(); c && *c; ++c) {
            if ((*c >= '0' && *c <= '9') || *c == '.') amount += *c;
        }
        return amount;
    }

private:
    tesseract::TessBaseAPI m_api;
    bool m_ok = false;
};

void PrintTally(const Tally& tally, double baselineMedian, int count) {
    const double median = Percentile(tally.ms, 0.5);
    std::printf("%-28s %7.2f %% %7.2f %% %7.2f %% %9.1f %9.1f %8.2f\n", tally.name,
                100.0 * tally.right / count, 100.0 * tally.wrong / count,
                100.0 * tally.none / count, median, Percentile(tally.ms, 0.95),
                baselineMedian > 0 ? median / baselineMedian : 0);
}

class QuietTarget : public CaptureTarget {
public:
    bool AcceptsCapturedAmount() const override { return true; }
    void ApplyFocusRule() override {}
    void PutAmount(const QString& amount) override { last = amount; }
    void ClearPaymentFields() override { last.clear(); }
    void ShowNotice(const QString&) override {}
    QString last;
};

// The till's total the capture is timed on, drawn once.
class Total : public QWidget {
public:
    Total()
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint),
          m_picture(200, 40, QImage::Format_RGB32) {
        setGeometry(100, 50, 200, 40);
        m_picture.fill(Qt::white);
        QPainter painter(&m_picture);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(24);
        painter.setFont(font);
        painter.drawText(m_picture.rect(), Qt::AlignCenter, QStringLiteral("\u00A5128.50"));
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, m_picture); }

private:
    QImage m_picture;
};

void TimeCaptures(int rounds) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        std::printf("\nCaptureAmount: no X display, not timed (run under xvfb-run).\n");
        return;
    }
    Total total;
    total.show();
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 300) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    // Opening never creates a database: an empty file is an empty database.
    std::filesystem::remove("capture.db");
    std::ofstream("capture.db").close();
    CLocalDb db;
    if (!db.Open(u"capture.db") ||
        !db.Execute("create table SysConfig (Name text primary key, Value text)") ||
        !db.Execute(
            "insert into SysConfig values ('CutRect', '100,50,300,90'), ('OpencvFlag', '0')")) {
        std::printf("CaptureAmount: no configuration database\n");
        return;
    }
    std::printf("\nCaptureAmount of a 200 x 40 region (%d rounds each):\n", rounds);
    for (const char* flag : {"0", "1"}) {
        db.Execute("update SysConfig set Value = ? where Name = 'OpencvFlag'", {std::string(flag)});
        QuietTarget target;
        AmountCapture capture(db, target, u"");
        std::vector<double> ms;
        for (int i = 0; i < rounds; ++i) {
            const auto start = Clock::now();
            capture.CaptureAmount();
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        std::printf("  OpencvFlag %s: median %.1f ms, 95th percentile %.1f ms, read \"%s\"\n", flag,
                    Percentile(ms, 0.5), Percentile(ms, 0.95), target.last.toStdString().c_str());
    }
}

}  // namespace
}  // namespace zelvo::bench

int main(int argc, char** argv) {
    using namespace zelvo;
    using namespace zelvo::bench;
    int count = 1000;
    int captures = 50;
    std::uint32_t seed = 20261208;
    fs::path folder;
    std::vector<std::string> fonts;
    bool unitClose = false;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--fonts")) {
            std::string list = argv[i + 1];
            for (size_t at = 0; at <= list.size();) {
                const size_t comma = std::min(list.find(',', at), list.size());
                if (comma > at) fonts.push_back(list.substr(at, comma - at));
                at = comma + 1;
            }
        }
        if (!std::strcmp(argv[i], "--count")) count = std::max(1, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--seed"))
            seed = static_cast<std::uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        if (!std::strcmp(argv[i], "--dir")) folder = argv[i + 1];
        if (!std::strcmp(argv[i], "--captures")) captures = std::max(1, std::atoi(argv[i + 1]));
        if (!std::strcmp(argv[i], "--unit")) unitClose = !std::strcmp(argv[i + 1], "close");
    }
    const char* display = std::getenv("DISPLAY");
    setenv("QT_QPA_PLATFORM", display && *display ? "xcb" : "offscreen", 0);
    if (!std::getenv("TESSDATA_PREFIX"))
        setenv("TESSDATA_PREFIX", "/usr/share/tesseract-ocr/5/tessdata", 1);
    QApplication app(argc, argv);
    setMsgSeverity(L_SEVERITY_NONE);

    std::string work = (fs::temp_directory_path() / "bench-recognize-XXXXXX").string();
    if (!mkdtemp(work.data())) return 1;
    if (folder.empty()) folder = fs::path(work) / "corpus";
    folder = fs::absolute(folder);
    fs::current_path(work);

    const auto started = Clock::now();
    const auto samples = WriteCorpus(folder, count, seed, fonts, unitClose);
    std::printf("Corpus: %d till totals, seed %u, in %s (%.1f s)\n\n", count, seed, folder.c_str(),
                std::chrono::duration<double>(Clock::now() - started).count());

    Tally plain{"plain Tesseract"};
    Tally cleaned{"chain, pre-processing on"};
    Tally raw{"chain, pre-processing off"};
    PlainTesseract tesseract;
    const auto time = [](const std::function<std::string()>& read, double& ms) {
        const auto start = Clock::now();
        std::string text = read();
        ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        return text;
    };
    for (const auto& [image, truth] : samples) {
        double ms = 0;
        std::string read = time([&] { return tesseract.Read(image); }, ms);
        Count(plain, read, truth, image, ms);
        for (auto [tally, preprocess] : {std::pair{&cleaned, true}, std::pair{&raw, false}}) {
            read = time(
                [&, preprocess = preprocess] {
                    RemoveWorkFiles();
                    return Utf16ToUtf8(ReadAmountFromImage(image.string(), preprocess, u"").amount);
                },
                ms);
            Count(*tally, read, truth, image, ms);
        }
    }
    std::printf("%-28s %9s %9s %9s %9s %9s %8s\n", "reader", "right", "wrong", "none", "median ms",
                "p95 ms", "x plain");
    const double baseline = Percentile(plain.ms, 0.5);
    for (const Tally* tally : {&cleaned, &raw, &plain}) PrintTally(*tally, baseline, count);
    for (const Tally* tally : {&cleaned, &raw}) {
        for (const std::string& line : tally->wrongReads)
            std::printf("  wrong (%s) %s\n", tally->name, line.c_str());
    }
    TimeCaptures(captures);
    std::error_code ignored;
    fs::current_path("/");
    fs::remove_all(work, ignored);
    return 0;
}
