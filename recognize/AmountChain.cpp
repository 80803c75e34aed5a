#include "recognize/AmountChain.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <leptonica/allheaders.h>

#include "base/CodePage.h"
#include "recognize/CRecognizeApp.h"
#include "recognize/ImageCleaning.h"
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
    for (const char* name : {kScreenCopyFile, kCleanedImageFile, kResultFile}) {
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

ChainResult ReadAmountFromImage(const std::string& image, bool preprocess,
                                const std::u16string& exeDir) {
    // What is left of a character the region cuts through may read as another digit, or as
    // none: the number it belongs to is not the total.
    if (const PixPtr copy{pixRead(image.c_str())}; copy && TextCutAtASide(copy.get())) {
        return {ChainOutcome::Read, {}};
    }
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
    CRecognizeApp::ModifyAccount(*text);
    return {ChainOutcome::Read, *text};
}

}  // namespace zelvo
