#include "recognize/LineRecogniser.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include "recognize/PointMarks.h"
#include "recognize/SegmentDisplay.h"

namespace zelvo {
namespace {

struct PixDeleter {
    void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

// English reads the digits; the Chinese model, where installed, reads the labels and "元"
// around them, which English would turn into digits and letters.
std::string Languages(const std::string& folder) {
    std::error_code ignored;
    const bool chinese = std::filesystem::exists(
        std::filesystem::path(folder.empty() ? "." : folder) / "chi_sim.traineddata", ignored);
    return chinese ? "eng+chi_sim" : "eng";
}

// Loading the model takes far longer than reading a line, so one recogniser serves the process.
class Recogniser {
public:
    tesseract::TessBaseAPI* For(const std::string& dataFolder) {
        const char* prefix = std::getenv("TESSDATA_PREFIX");
        const std::string folder = prefix && *prefix ? std::string(prefix) : dataFolder;
        if (m_api && folder == m_folder) return m_api.get();
        m_api.reset();
        auto api = std::make_unique<tesseract::TessBaseAPI>();
        // Tesseract's own messages would only clutter the output of the tools.
        api->SetVariable("debug_file", "/dev/null");
        if (api->Init(folder.c_str(), Languages(folder).c_str(), tesseract::OEM_LSTM_ONLY) != 0) {
            return nullptr;
        }
        api->SetPageSegMode(tesseract::PSM_SINGLE_LINE);
        // Screen copies carry no resolution; this keeps Tesseract from guessing one aloud.
        api->SetVariable("user_defined_dpi", "96");
        // Keeps each character's second choices, which tell a doubtful digit.
        api->SetVariable("lstm_choice_mode", "2");
        m_api = std::move(api);
        m_folder = folder;
        return m_api.get();
    }
    std::mutex& Lock() { return m_lock; }

private:
    std::mutex m_lock;
    std::unique_ptr<tesseract::TessBaseAPI> m_api;
    std::string m_folder;
};

Recogniser& TheRecogniser() {
    static Recogniser recogniser;
    return recogniser;
}

bool IsDigit(std::string_view text) {
    return text.size() == 1 && text[0] >= '0' && text[0] <= '9';
}

// A currency sign read as a digit would add a digit to the front of the amount.
bool IsCurrencySign(std::string_view text) {
    return text == "\u00A5" || text == "\uFFE5" || text == "Y";
}

bool HasRival(const tesseract::ResultIterator& it, std::string_view chosen) {
    if (!IsDigit(chosen)) return false;
    tesseract::ChoiceIterator choice(it);
    do {
        const char* other = choice.GetUTF8Text();
        if (!other || chosen == other || choice.Confidence() < kRivalFrom) continue;
        if (IsDigit(other) || IsCurrencySign(other)) return true;
    } while (choice.Next());
    return false;
}

// The recognised line, and where its digits begin and end in the image.
struct Reading {
    std::string line;
    int digitsLeft = 0;
    int digitsRight = 0;
};

Reading LineWithDoubtsMarked(tesseract::TessBaseAPI& api) {
    Reading reading;
    std::string& line = reading.line;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it) return reading;
    constexpr auto kSymbol = tesseract::RIL_SYMBOL;
    bool anyDigit = false;
    do {
        std::unique_ptr<char[]> symbol(it->GetUTF8Text(kSymbol));
        if (!symbol) continue;
        if (it->IsAtBeginningOf(tesseract::RIL_WORD) && !line.empty()) line += ' ';
        line += HasRival(*it, symbol.get()) ? std::string("?") : symbol.get();
        int left = 0, top = 0, right = 0, bottom = 0;
        if (IsDigit(symbol.get()) && it->BoundingBox(kSymbol, &left, &top, &right, &bottom)) {
            reading.digitsLeft = anyDigit ? std::min(reading.digitsLeft, left) : left;
            reading.digitsRight = std::max(reading.digitsRight, right);
            anyDigit = true;
        }
    } while (it->Next(kSymbol));
    return reading;
}

std::optional<Reading> ReadLine(tesseract::TessBaseAPI& api, Pix* image) {
    api.SetImage(image);
    const bool read = api.Recognize(nullptr) == 0;
    std::optional<Reading> reading;
    if (read) reading = LineWithDoubtsMarked(api);
    api.Clear();
    return reading;
}

constexpr float kSecondViewScale = 0.6f;

// A second view of the cleaned line: smaller and smoothed, so the recogniser sees grey
// strokes instead of the first view's hard edges and often settles what it doubted there.
PixPtr SecondView(Pix* image) {
    PixPtr grey(pixGetDepth(image) == 8 ? pixClone(image) : pixConvertTo8(image, 0));
    if (!grey) return nullptr;
    return PixPtr(pixScaleSmooth(grey.get(), kSecondViewScale, kSecondViewScale));
}

// The second reading settles the doubtful digits of the first when it is sure of every
// character and agrees with the first wherever the first was sure.
bool Settles(const std::string& first, const std::string& second) {
    if (first.size() != second.size() || second.find('?') != std::string::npos) return false;
    for (size_t i = 0; i < first.size(); ++i) {
        if (first[i] != '?' && first[i] != second[i]) return false;
    }
    return true;
}

// A point the image shows but the reading lacks would shift the amount's decimals.
bool MissesAPoint(const Reading& reading, Pix* image) {
    const std::string& line = reading.line;
    const auto read =
        std::count_if(line.begin(), line.end(), [](char c) { return c == '.' || c == ','; });
    return CountPointMarks(image, reading.digitsLeft, reading.digitsRight) > read;
}

}  // namespace

std::optional<std::string> RecogniseLine(const std::string& imagePath,
                                         const std::string& dataFolder) {
    PixPtr image(pixRead(imagePath.c_str()));
    if (!image) return std::nullopt;
    // The recogniser has no model for seven-segment digits; their segments are read instead.
    if (std::optional<std::string> number = ReadSegmentNumber(image.get())) return number;
    Recogniser& recogniser = TheRecogniser();
    std::lock_guard<std::mutex> hold(recogniser.Lock());
    tesseract::TessBaseAPI* api = recogniser.For(dataFolder);
    if (!api) return std::nullopt;
    const std::optional<Reading> first = ReadLine(*api, image.get());
    if (!first) return std::nullopt;
    if (MissesAPoint(*first, image.get())) return std::string("?");
    // Only a doubtful line costs a second reading, so most captures take one.
    if (first->line.find('?') == std::string::npos) return first->line;
    PixPtr view = SecondView(image.get());
    if (!view) return first->line;
    const std::optional<Reading> second = ReadLine(*api, view.get());
    if (second && Settles(first->line, second->line)) return second->line;
    return first->line;
}

}  // namespace zelvo
