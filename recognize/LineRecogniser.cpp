#include "recognize/LineRecogniser.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>
#ifdef _OPENMP
#include <omp.h>
#endif

#include "base/CodePage.h"
#include "recognize/AmountText.h"
#include "recognize/DigitShape.h"
#include "recognize/GlyphJudgement.h"
#include "recognize/GlyphPicture.h"
#include "recognize/ImageCleaning.h"
#include "recognize/ImageFile.h"
#include "recognize/IsolatedWorker.h"
#include "recognize/LeptonicaHandles.h"
#include "recognize/LineSymbols.h"
#include "recognize/PointMarks.h"
#include "recognize/SegmentDisplay.h"
#include "recognize/SliverBoxes.h"
#include "recognize/ViewAgreement.h"

namespace zelvo {
namespace {


// English reads the digits; the Chinese model, where installed, reads the labels and "元"
// around them, which English would turn into digits and letters.
std::string Languages(const std::string& folder) {
    std::error_code ignored;
    const bool chinese = std::filesystem::exists(
        std::filesystem::path(folder.empty() ? "." : folder) / "chi_sim.traineddata", ignored);
    return chinese ? "eng+chi_sim" : "eng";
}

// The recognisers a line is read with: the line's own, and the Chinese model alone for the
// unit "元" after the amount, which the line's reads as letters or digits there ("JE", "?C").
struct Readers {
    tesseract::TessBaseAPI& line;
    tesseract::TessBaseAPI* unit;  // none without the Chinese model
};

std::unique_ptr<tesseract::TessBaseAPI> LoadedModel(const std::string& folder,
                                                    const std::string& languages,
                                                    tesseract::PageSegMode mode) {
    auto api = std::make_unique<tesseract::TessBaseAPI>();
    // Tesseract's own messages would only clutter the output of the tools.
    api->SetVariable("debug_file", "/dev/null");
    if (api->Init(folder.c_str(), languages.c_str(), tesseract::OEM_LSTM_ONLY) != 0) {
        return nullptr;
    }
    api->SetPageSegMode(mode);
    // Screen copies carry no resolution; this keeps Tesseract from guessing one aloud.
    api->SetVariable("user_defined_dpi", "96");
    return api;
}

// A currency sign read as a digit would add a digit to the front of the amount.
bool IsCurrencySign(std::string_view text) {
    return IsYenSign(text) || text == "Y";
}

// A letter O in a number is a zero the recogniser took for a letter.
bool ReadForZero(std::string_view text) {
    return text == "O";
}

// The symbol as the amount rules should see it: a digit with a rival digit or currency sign
// is "?", a letter O with a rival digit other than zero too, else "0"; a currency sign with a
// rival digit is "?" that may be the sign. A "?" keeps the digits it was chosen between.
Symbol Judged(const tesseract::ResultIterator& it, std::string_view chosen) {
    Symbol symbol;
    symbol.text = chosen;
    const bool zero = ReadForZero(chosen);
    const bool sign = IsCurrencySign(chosen);
    if (!IsDigitSymbol(chosen) && !zero && !sign) return symbol;
    tesseract::ChoiceIterator choice(it);
    do {
        const char* other = choice.GetUTF8Text();
        if (!other || chosen == other || choice.Confidence() < kRivalFrom) continue;
        if (zero && std::string_view(other) == "0") continue;
        const bool otherSign = IsCurrencySign(other);
        if (IsDigitSymbol(other)) symbol.candidates += other;
        symbol.maybeSign = symbol.maybeSign || otherSign;
    } while (choice.Next());
    const bool inDoubt = !symbol.candidates.empty() || (symbol.maybeSign && !sign);
    if (!inDoubt) {
        if (zero) symbol.text = "0";
        symbol.maybeSign = false;
        return symbol;
    }
    symbol.maybeSign = symbol.maybeSign || sign;
    if (IsDigitSymbol(chosen)) symbol.candidates.insert(0, chosen);
    if (zero) symbol.candidates.insert(0, "0");
    symbol.text = "?";
    return symbol;
}

// A letter O in a word mostly of other letters ("TOTAL") is a letter, not a zero. Among
// fewer ("HOO" read for "0.0") it may well be one.
void KeepLettersInWords(std::vector<Symbol>& symbols, const std::vector<bool>& readAsO) {
    for (size_t start = 0; start < symbols.size();) {
        size_t end = start + 1;
        while (end < symbols.size() && !symbols[end].startsWord) ++end;
        int others = 0, os = 0;
        for (size_t i = start; i < end; ++i) {
            os += readAsO[i];
            others += !readAsO[i] && IsLatinLetter(symbols[i].text);
        }
        const bool word = others >= 2 && others > os;
        for (size_t i = start; i < end && word; ++i) {
            if (!readAsO[i]) continue;
            symbols[i].text = "O";
            symbols[i].candidates.clear();
            symbols[i].maybeSign = false;
        }
        start = end;
    }
}

std::vector<Symbol> SymbolsWithDoubtsMarked(tesseract::TessBaseAPI& api) {
    std::vector<Symbol> symbols;
    std::vector<bool> readAsO;
    std::unique_ptr<tesseract::ResultIterator> it(api.GetIterator());
    if (!it) return symbols;
    constexpr auto kSymbol = tesseract::RIL_SYMBOL;
    do {
        std::unique_ptr<char[]> text(it->GetUTF8Text(kSymbol));
        if (!text) continue;
        Symbol symbol = Judged(*it, text.get());
        symbol.startsWord = it->IsAtBeginningOf(tesseract::RIL_WORD);
        it->BoundingBox(kSymbol, &symbol.left, &symbol.top, &symbol.right, &symbol.bottom);
        readAsO.push_back(ReadForZero(text.get()));
        symbols.push_back(std::move(symbol));
    } while (it->Next(kSymbol));
    CutBoxesAtTheNextSymbol(symbols);
    KeepLettersInWords(symbols, readAsO);
    return symbols;
}

std::optional<std::vector<Symbol>> ReadSymbols(tesseract::TessBaseAPI& api, Pix* image) {
    api.SetImage(image);
    const bool read = api.Recognize(nullptr) == 0;
    std::optional<std::vector<Symbol>> symbols;
    if (read) symbols = SymbolsWithDoubtsMarked(api);
    api.Clear();
    return symbols;
}

// The unit "元" that the line's reading turned into letters or digits ("JE", "?C") would leave
// the amount in doubt, or lengthen it ("128元" read 1287). The ink after the line's last space,
// or its last glyph where that is about as wide as high (a Chinese character; digits are
// narrower), when the amount comes before it, is read alone by the Chinese model; only a sure
// "元" replaces what stands there.
constexpr float kUnitConfidence = 80.0f;
constexpr int kUnitMargin = 4;
constexpr std::string_view kUnit = "\u5143";
// A space is wider than this share of the ink's height; the gaps between digits are narrower.
constexpr int kSpacePerHeight = 5;
// A glyph at least this share of the ink's height wide may be a Chinese character.
constexpr double kCharacterWidth = 0.8;

// Where the unit may stand, and whether it is as wide as a Chinese character there.
struct UnitPlace {
    ColumnSpan span;
    bool characterWide = false;
};

std::vector<UnitPlace> PlacesOfTheUnit(Pix* ink) {
    Box* found = nullptr;
    if (pixClipBoxToForeground(ink, nullptr, nullptr, &found) != 0 || !found) return {};
    l_int32 x, y, w, h;
    boxGetGeometry(found, &x, &y, &w, &h);
    boxDestroy(&found);
    const auto wide = [&](const ColumnSpan& span) {
        return span.right - span.left >= kCharacterWidth * h;
    };
    std::vector<UnitPlace> places;
    const std::vector<ColumnSpan> words =
        InkColumnSpans(ink, x, x + w, y, y + h, std::max(2, h / kSpacePerHeight));
    if (words.size() >= 2) places.push_back({words.back(), wide(words.back())});
    const std::vector<ColumnSpan> glyphs = InkColumnSpans(ink, x, x + w, y, y + h, 1);
    if (glyphs.size() >= 2 && wide(glyphs.back()) &&
        (places.empty() || glyphs.back().left != places.back().span.left)) {
        places.push_back({glyphs.back(), true});
    }
    return places;
}

std::optional<std::string> ReadAlone(tesseract::TessBaseAPI& reader, Pix* image,
                                     const ColumnSpan& span) {
    const int left = std::max(0, span.left - kUnitMargin);
    const int right = std::min(static_cast<int>(pixGetWidth(image)), span.right + kUnitMargin);
    PixPtr part = ClippedTo(image, left, 0, right - left, static_cast<int>(pixGetHeight(image)));
    if (part) {
        part.reset(pixAddBlackOrWhiteBorder(part.get(), kQuietBorder, kQuietBorder, kQuietBorder,
                                            kQuietBorder, L_GET_WHITE_VAL));
    }
    if (!part) return std::nullopt;
    reader.SetImage(part.get());
    std::optional<std::string> read;
    if (reader.Recognize(nullptr) == 0) {
        std::unique_ptr<tesseract::ResultIterator> it(reader.GetIterator());
        std::unique_ptr<char[]> text(it ? it->GetUTF8Text(tesseract::RIL_SYMBOL) : nullptr);
        if (text && it->Confidence(tesseract::RIL_SYMBOL) >= kUnitConfidence) read = text.get();
    }
    reader.Clear();
    return read;
}

// The symbols from the first one standing in `place` on, when they all stand there and come
// after a digit standing on ink of its own (not a box the recogniser put between two glyphs).
std::optional<size_t> AfterTheAmount(const std::vector<Symbol>& symbols, const ColumnSpan& place,
                                     Pix* ink) {
    const auto inPlace = [&](const Symbol& symbol) {
        return symbol.Middle() >= place.left && symbol.Middle() < place.right;
    };
    const auto first = std::find_if(symbols.begin(), symbols.end(), inPlace);
    if (first == symbols.begin() || first == symbols.end()) return std::nullopt;
    const Symbol& last = *std::prev(first);
    const bool afterTheAmount =
        CountsAsDigit(last.text) &&
        InkColumnRuns(ink, last.Middle(), last.Middle() + 1, 0, pixGetHeight(ink), 1) > 0;
    if (!afterTheAmount || !std::all_of(first, symbols.end(), inPlace)) return std::nullopt;
    return static_cast<size_t>(first - symbols.begin());
}

// The symbols from `first` on replaced by the unit standing in `place`.
std::vector<Symbol> WithTheUnitAt(std::vector<Symbol> symbols, size_t first,
                                  const ColumnSpan& place) {
    Symbol unit = symbols[first];
    unit.text = kUnit;
    unit.candidates.clear();
    unit.maybeSign = false;
    unit.withoutGlyph = false;
    unit.startsWord = true;
    unit.left = place.left;
    unit.right = place.right;
    symbols.resize(first);
    symbols.push_back(std::move(unit));
    return symbols;
}

// `ink` is the line image's, one bit, set on the text. Where the line read sure digits on a
// character-wide glyph that reads alone as the unit, either reading may be wrong; those digits
// become doubts that no other view settles. Sure digits on narrower ink are not read again.
std::vector<Symbol> WithTheUnitReadAlone(std::vector<Symbol> symbols,
                                         tesseract::TessBaseAPI* unitReader, Pix* image, Pix* ink) {
    if (!unitReader || symbols.empty()) return symbols;
    for (const UnitPlace& place : PlacesOfTheUnit(ink)) {
        const std::optional<size_t> first = AfterTheAmount(symbols, place.span, ink);
        if (!first) continue;
        const auto there = symbols.begin() + static_cast<std::ptrdiff_t>(*first);
        const auto isUnit = [](const Symbol& symbol) { return symbol.text == kUnit; };
        const auto isDigit = [](const Symbol& symbol) { return IsDigitSymbol(symbol.text); };
        const bool digits = std::any_of(there, symbols.end(), isDigit);
        if (std::any_of(there, symbols.end(), isUnit) || (digits && !place.characterWide)) {
            continue;
        }
        if (ReadAlone(*unitReader, image, place.span) != kUnit) continue;
        if (!digits) return WithTheUnitAt(std::move(symbols), *first, place.span);
        std::for_each(there, symbols.end(), [](Symbol& symbol) {
            if (IsDigitSymbol(symbol.text)) Unreadable(symbol);
        });
        return symbols;
    }
    return symbols;
}

// Other views of the cleaned line: smaller and smoothed, so the recogniser sees grey strokes
// instead of the first view's hard edges and often settles what it doubted there.
constexpr float kOtherViewScales[] = {0.6f, 0.8f};

PixPtr OtherView(Pix* image, float scale) {
    PixPtr grey(pixGetDepth(image) == 8 ? pixClone(image) : pixConvertTo8(image, 0));
    if (!grey) return nullptr;
    return PixPtr(pixScaleSmooth(grey.get(), scale, scale));
}

// A line and the symbols that its last look left (judged, or as read when the line was given up
// before that).
struct LineReading {
    std::string text;
    std::vector<Symbol> symbols;
};

LineReading GivenUp(std::vector<Symbol> symbols) {
    return LineReading{"?", std::move(symbols)};
}

std::optional<LineReading> ReadLineImage(const Readers& readers, Pix* image) {
    tesseract::TessBaseAPI& api = readers.line;
    std::optional<std::vector<Symbol>> first = ReadSymbols(api, image);
    if (!first) return std::nullopt;
    PixPtr ink = DarkInk(image);
    if (!ink) return GivenUp(std::move(*first));
    first = WithTheUnitReadAlone(std::move(*first), readers.unit, image, ink.get());
    first = WithSliversOnTheirGlyphs(std::move(*first), ink.get());
    if (MissesAPoint(*first, image)) return GivenUp(std::move(*first));
    if (MayHideAJoinedPoint(*first, ink.get()) || LeavesAGlyphUnread(*first, ink.get())) {
        return GivenUp(std::move(*first));
    }
    GlyphJudgement judged =
        JudgeByGlyphs(WithShapesTold(*first, ink.get()), ink.get(), BuiltInGlyphTemplates());
    // A seven-segment display the segment reader could not read: the recogniser, which has no
    // model for its digits, drops and invents digits and points there.
    if (judged.segmentDigits) return GivenUp(std::move(judged.symbols));
    std::vector<Symbol>& told = judged.symbols;
    // One glyph read twice ("4" and "A" on one 4, which the templates name a 4 as well) would be
    // two digits of the amount; the smaller views read it once.
    if (ReadsAGlyphTwice(told, ink.get())) return GivenUp(std::move(told));
    // Only a doubtful line costs more readings, so most captures take one.
    if (LineText(told).find('?') == std::string::npos) {
        return LineReading{LineWithSignApart(told), std::move(told)};
    }
    ViewVotes votes(told);
    for (const float scale : kOtherViewScales) {
        PixPtr view = OtherView(image, scale);
        const std::optional<std::vector<Symbol>> other =
            view ? ReadSymbols(api, view.get()) : std::nullopt;
        if (other && !votes.Add(*other, scale)) return GivenUp(std::move(told));
    }
    std::vector<Symbol> settled = votes.Settled();
    std::string settledLine = LineText(settled);
    if (settledLine.find('?') == std::string::npos) settledLine = LineWithSignApart(settled);
    return LineReading{std::move(settledLine), std::move(settled)};
}

std::u16string AmountOf(const std::string& line) {
    return AmountFromRecognisedText(Utf8ToUtf16(line));
}

// A line that gives no amount is read again in smaller, smoothed views, where the recogniser
// often reads right what it misread in the hard-edged picture ("2:59", "A5.51", "7,84"). A view's
// amount is taken only when enough views read the same one, no view reads another, and each of
// those readings, placed back in the line, explains the line's own picture: its points and
// glyphs, and the digits the first reading saw.
constexpr float kRetryScales[] = {0.9f, 0.8f, 0.7f, 0.6f, 0.5f, 0.4f};
constexpr int kViewsToAgree = 3;
// Views that agree on a wrong amount have mostly lost its point, or its only decimal ("45" for
// "4.5", "40" for "0.40"); an amount they read with a point and two decimals, as tills show
// them, needs one view fewer.
constexpr int kViewsToAgreeOnTwoDecimals = 2;
// The line's grey picture, where the cleaning left one, gives three more views, where small or
// blurred text that binarising broke often reads. They add votes to the amount the sharp views
// read, or to none; where they read another amount or misread the line, they add none, since
// the grey often turns a label into digits the sharp views do not see. Only three: with six,
// blurred digits whose point the grey had lost won enough votes.
constexpr float kGreyRetryScales[] = {1.0f, 0.8f, 0.6f};

// The amount that views of `source` read alike, the line one of them read it in, and how many;
// none when a view reads another amount or does not explain the line.
struct ViewsAgreement {
    std::u16string amount;
    std::string text;
    int votes = 0;
};

std::optional<ViewsAgreement> ViewsAgreeing(const Readers& readers, Pix* source,
                                            std::span<const float> scales,
                                            const std::vector<Symbol>& line, Pix* image, Pix* ink) {
    ViewsAgreement agreement;
    for (const float scale : scales) {
        PixPtr view = OtherView(source, scale);
        std::optional<LineReading> reading =
            view ? ReadLineImage(readers, view.get()) : std::nullopt;
        if (!reading) continue;
        const std::u16string amount = AmountOf(reading->text);
        if (amount.empty()) continue;
        const bool other = agreement.votes > 0 && amount != agreement.amount;
        if (other ||
            !ViewExplainsTheLine(PlacedInLine(reading->symbols, scale), line, image, ink)) {
            return std::nullopt;
        }
        if (agreement.votes++ == 0) {
            agreement.amount = amount;
            agreement.text = std::move(reading->text);
        }
    }
    return agreement;
}

std::optional<std::string> AmountTheViewsAgreeOn(const Readers& readers, Pix* image, Pix* grey,
                                                 const std::vector<Symbol>& line) {
    PixPtr ink = DarkInk(image);
    if (!ink) return std::nullopt;
    std::optional<ViewsAgreement> sharp =
        ViewsAgreeing(readers, image, kRetryScales, line, image, ink.get());
    if (!sharp) return std::nullopt;
    const std::optional<ViewsAgreement> soft =
        grey ? ViewsAgreeing(readers, grey, kGreyRetryScales, line, image, ink.get())
             : std::nullopt;
    if (soft && soft->votes > 0) {
        if (sharp->votes == 0) {
            sharp = soft;
        } else if (soft->amount == sharp->amount) {
            sharp->votes += soft->votes;
        }
    }
    const size_t point = sharp->amount.find(u'.');
    const bool twoDecimals = point != std::u16string::npos && sharp->amount.size() == point + 3;
    if (sharp->votes < (twoDecimals ? kViewsToAgreeOnTwoDecimals : kViewsToAgree)) {
        return std::nullopt;
    }
    return std::move(sharp->text);
}

// `grey`, when not null, is the line's grey picture, of the same size.
std::optional<std::string> ReadLine(const Readers& readers, Pix* image, Pix* grey) {
    std::optional<LineReading> reading = ReadLineImage(readers, image);
    if (!reading) return std::nullopt;
    // A point too small for the picture's own check shows when it is enlarged; without it the
    // amount would be ten or a hundred times too large.
    const bool missesAPoint = MissesAPointWhenEnlarged(reading->symbols, image);
    if (!AmountOf(reading->text).empty()) {
        // A point too pale for the cleaned picture shows in the grey one.
        if (missesAPoint || (grey && MissesAFaintPoint(reading->symbols, grey))) return "?";
        return std::move(reading->text);
    }
    std::optional<std::string> agreed =
        AmountTheViewsAgreeOn(readers, image, grey, reading->symbols);
    if (agreed && missesAPoint && agreed->find('.') == std::string::npos) return "?";
    return agreed ? std::move(agreed) : std::move(reading->text);
}

// The grey line the cleaning left beside the image; none where there is none, or where it is not
// the image's size and so not its line.
PixPtr GreyLineOf(const std::string& imagePath, Pix* image) {
    const std::string path = GreyLineBeside(imagePath);
    std::error_code unknown;
    if (!std::filesystem::is_regular_file(path, unknown)) return nullptr;
    PixPtr grey(pixRead(path.c_str()));
    if (!grey || pixGetDepth(grey.get()) != 8 || pixGetWidth(grey.get()) != pixGetWidth(image) ||
        pixGetHeight(grey.get()) != pixGetHeight(image)) {
        return nullptr;
    }
    return grey;
}

// A line takes milliseconds, a doubtful one read in every view a few hundred at most.
constexpr std::chrono::milliseconds kLongestReading{10000};

// Loading the models takes far longer than reading a line, so one recogniser serves the process.
class Recogniser {
public:
    // The worker that reads lines with the models of `dataFolder`; none when they cannot be
    // loaded.
    IsolatedWorker* For(const std::string& dataFolder) {
        const char* prefix = std::getenv("TESSDATA_PREFIX");
        const std::string folder = prefix && *prefix ? std::string(prefix) : dataFolder;
        if (m_worker && folder == m_folder) return m_worker.get();
        m_worker.reset();
        m_line.reset();
        m_unit.reset();
        // A line is a few milliseconds of work: the threads Tesseract would start for it cost
        // more than they save and keep the processor spinning after each read.
#ifdef _OPENMP
        omp_set_max_active_levels(0);
#endif
        const std::string languages = Languages(folder);
        m_line = LoadedModel(folder, languages, tesseract::PSM_SINGLE_LINE);
        if (!m_line) return nullptr;
        // Keeps each character's second choices, which tell a doubtful digit.
        m_line->SetVariable("lstm_choice_mode", "2");
        if (languages != "eng") m_unit = LoadedModel(folder, "chi_sim", tesseract::PSM_SINGLE_CHAR);
        // Parsed here, before the worker's child process is started, which would otherwise
        // parse them again each time it is started.
        BuiltInGlyphTemplates();
        const Readers readers{*m_line, m_unit.get()};
        m_worker = std::make_unique<IsolatedWorker>(
            [readers](const std::string& imagePath) -> std::optional<std::string> {
                PixPtr image = ReadImageFile(imagePath);
                if (!image) return std::nullopt;
                PixPtr grey = GreyLineOf(imagePath, image.get());
                return ReadLine(readers, image.get(), grey.get());
            });
        m_folder = folder;
        return m_worker.get();
    }
    std::mutex& Lock() {
        return m_lock;
    }

private:
    std::mutex m_lock;
    std::unique_ptr<tesseract::TessBaseAPI> m_line;
    std::unique_ptr<tesseract::TessBaseAPI> m_unit;
    // Holds the models above in its child process, so it goes first.
    std::unique_ptr<IsolatedWorker> m_worker;
    std::string m_folder;
};

Recogniser& TheRecogniser() {
    static Recogniser recogniser;
    return recogniser;
}

}  // namespace

std::optional<std::string> RecogniseLine(const std::string& imagePath,
                                         const std::string& dataFolder) {
    PixPtr image = ReadImageFile(imagePath);
    if (!image) return std::nullopt;
    // The recogniser has no model for seven-segment digits; their segments are read instead.
    if (std::optional<std::string> number = ReadSegmentNumber(image.get())) return number;
    Recogniser& recogniser = TheRecogniser();
    std::lock_guard<std::mutex> hold(recogniser.Lock());
    IsolatedWorker* worker = recogniser.For(dataFolder);
    if (!worker) return std::nullopt;
    // The worker's child keeps the working folder it was started in.
    std::error_code unknown;
    const std::filesystem::path path = std::filesystem::absolute(imagePath, unknown);
    return worker->Run(unknown ? imagePath : path.string(), kLongestReading);
}

}  // namespace zelvo
