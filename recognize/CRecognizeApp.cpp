#include "recognize/CRecognizeApp.h"

#include <filesystem>
#include <fstream>

#include <leptonica/allheaders.h>

#include "base/CodePage.h"
#include "recognize/AmountText.h"
#include "recognize/ImageCleaning.h"
#include "recognize/LineRecogniser.h"
#include "recognize/SegmentDisplay.h"

namespace zelvo {
namespace {

std::string PathText(const std::u16string& path) {
    return Utf16ToUtf8(path);
}

// The callers report failures in their own words; the image library would only add noise.
void QuietImageLibrary() {
    static const bool quiet = [] {
        setMsgSeverity(L_SEVERITY_NONE);
        return true;
    }();
    (void)quiet;
}

}  // namespace

int CRecognizeApp::PicProcess(const std::string& in, const std::string& out) {
    QuietImageLibrary();
    // A grey line left by an earlier cleaning must not be read as this image's.
    std::error_code ignored;
    std::filesystem::remove(GreyLineBeside(out), ignored);
    // The cleaning closes the narrow gaps between a seven-segment display's segments, and
    // its reader could read the cleaned image no more.
    if (WriteSegmentDisplay(in, out)) return 1;
    return CleanImageForRecognition(in, out) ? 1 : 0;
}

int CRecognizeApp::RunTesseract(const std::u16string& image, const std::u16string& base,
                                const std::u16string& exeDir) {
    QuietImageLibrary();
    std::optional<std::string> line = RecogniseLine(PathText(image), PathText(exeDir));
    if (!line) return 0;
    std::u16string text = Utf8ToUtf16(*line);
    // GBK has only the full-width yen sign; the half-width one would turn into "?".
    for (char16_t& c : text) {
        if (c == u'\u00A5') c = u'\uFFE5';
    }
    std::ofstream file(std::filesystem::path(PathText(base + u".txt")),
                       std::ios::binary | std::ios::trunc);
    if (!file) return 0;
    file << Utf16ToGbk(text) << '\n';
    return file.good() ? 1 : 0;
}

void CRecognizeApp::ModifyAccount(std::u16string& text) {
    text = AmountFromRecognisedText(text);
}

}  // namespace zelvo
