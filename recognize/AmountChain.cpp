#include "recognize/AmountChain.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include <leptonica/allheaders.h>

#include "base/CodePage.h"
#include "recognize/CRecognizeApp.h"
#include "recognize/ImageCleaning.h"
#include "recognize/ImageFile.h"
#include "recognize/LeptonicaHandles.h"

namespace zelvo {
namespace {

// The reading buffer of 50 bytes holds a line of at most 49 bytes.
constexpr size_t kLineMax = 49;
// However many short lines the file holds, no amount needs more than this.
constexpr size_t kTextMax = 1024;

}  // namespace

void RemoveWorkFiles() {
    std::error_code ignored;
    for (const std::string& name : {std::string(kScreenCopyFile), std::string(kCleanedImageFile),
                                    GreyLineBeside(kCleanedImageFile), std::string(kResultFile)}) {
        std::filesystem::remove(name, ignored);
    }
}

std::optional<std::u16string> ReadRecognisedText(const std::string& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    if (!file) return std::nullopt;
    std::string text;
    std::string line;
    char c = 0;
    while (text.size() < kTextMax && file.get(c)) {
        if (c == '\n') {
            text += line;
            line.clear();
            continue;
        }
        if (line.size() == kLineMax) return GbkToUtf16(text);  // over-long: the reading ends
        if (c != '\r') line += c;
    }
    if (text.size() < kTextMax) text += line;
    return GbkToUtf16(text.substr(0, kTextMax));
}

namespace {

// Whether a word could be, or hold, a part of the number.
bool HoldsNumberPart(std::u16string_view word) {
    const auto fullWidthDigit = [](char16_t c) { return c >= u'\uFF10' && c <= u'\uFF19'; };
    return word.find_first_of(u"0123456789.,?\uFF0E\uFF0C") != std::u16string_view::npos ||
           std::any_of(word.begin(), word.end(), fullWidthDigit);
}

// Whether a character the region cuts through was read into the number, or lost from it: what
// is left of a cut digit may read as another digit, or as none. A cut label or sign, read as a
// word of its own that holds no digit or point, leaves the amount whole.
bool CutIntoTheNumber(std::u16string_view text, CutSides cut) {
    constexpr std::u16string_view kSpaces = u" \u3000";
    const size_t first = text.find_first_not_of(kSpaces);
    if (first == std::u16string_view::npos) return false;
    const size_t last = text.find_last_not_of(kSpaces);
    const size_t firstEnd = std::min(text.find_first_of(kSpaces, first), text.size());
    const size_t lastStart = text.find_last_of(kSpaces, last) + 1;  // npos + 1 is 0
    const bool leftInNumber = HoldsNumberPart(text.substr(first, firstEnd - first));
    const bool rightInNumber = HoldsNumberPart(text.substr(lastStart, last + 1 - lastStart));
    return (cut.left && leftInNumber) || (cut.right && rightInNumber);
}

}  // namespace

ChainResult ReadAmountFromImage(const std::string& image, bool preprocess,
                                const std::u16string& exeDir) {
    const PixPtr copy = ReadImageFile(image);
    const CutSides cut = copy ? TextCutAtTheSides(copy.get()) : CutSides{};
    std::u16string recognised = Utf8ToUtf16(image);
    if (preprocess) {
        if (CRecognizeApp::PicProcess(image, kCleanedImageFile) == 0) {
            return {ChainOutcome::PreprocessFailed, {}};
        }
        recognised = Utf8ToUtf16(kCleanedImageFile);
    }
    if (CRecognizeApp::RunTesseract(recognised, Utf8ToUtf16(kResultBase), exeDir) == 0) {
        return {ChainOutcome::RecognitionFailed, {}};
    }
    std::optional<std::u16string> text = ReadRecognisedText(kResultFile);
    if (!text) return {ChainOutcome::ResultMissing, {}};
    if (CutIntoTheNumber(*text, cut)) return {ChainOutcome::Read, {}};
    CRecognizeApp::ModifyAccount(*text);
    return {ChainOutcome::Read, *text};
}

}  // namespace zelvo
