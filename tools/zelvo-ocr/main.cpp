// zelvo-ocr [--preprocess] IMAGE...
// Reads each image with the amount capture's own chain and prints the path, a tab and the
// amount text the amount box would receive (empty when none).
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/CodePage.h"
#include "recognize/AmountChain.h"

namespace fs = std::filesystem;
using namespace zelvo;

namespace {

// The recognition data: TESSDATA_PREFIX when set, else beside this program, else the system's.
std::u16string DataFolder(const char* argv0) {
    std::error_code error;
    fs::path self = fs::canonical("/proc/self/exe", error);
    if (error) self = fs::absolute(argv0);
    const fs::path beside = self.parent_path();
    if (!std::getenv("TESSDATA_PREFIX") && !fs::exists(beside / "eng.traineddata")) {
        for (const char* system :
             {"/usr/share/tesseract-ocr/5/tessdata", "/usr/share/tesseract-ocr/4.00/tessdata"}) {
            if (fs::exists(fs::path(system) / "eng.traineddata")) {
                setenv("TESSDATA_PREFIX", system, 1);
                break;
            }
        }
    }
    return Utf8ToUtf16(beside.string() + "/");
}

const char* OutcomeText(ChainOutcome outcome) {
    switch (outcome) {
        case ChainOutcome::PreprocessFailed:
            return "cannot be read or cleaned";
        case ChainOutcome::RecognitionFailed:
            return "cannot be recognised";
        case ChainOutcome::ResultMissing:
            return "left no recognised text";
        case ChainOutcome::Read:
            break;
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    bool preprocess = false;
    std::vector<fs::path> images;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--preprocess") {
            preprocess = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << "usage: zelvo-ocr [--preprocess] IMAGE...\n";
            return 0;
        } else {
            images.push_back(fs::absolute(arg));
        }
    }
    const std::u16string exeDir = DataFolder(argv[0]);
    std::string workTemplate = (fs::temp_directory_path() / "zelvo-ocr-XXXXXX").string();
    if (!mkdtemp(workTemplate.data())) {
        std::cerr << "zelvo-ocr: no temporary work folder\n";
        return 0;
    }
    const fs::path work = workTemplate;
    const fs::path previous = fs::current_path();
    fs::current_path(work);
    for (const fs::path& image : images) {
        RemoveWorkFiles();
        const ChainResult result = ReadAmountFromImage(image.string(), preprocess, exeDir);
        if (result.outcome != ChainOutcome::Read) {
            std::cerr << image.string() << ": " << OutcomeText(result.outcome) << '\n';
        }
        std::cout << image.string() << '\t' << Utf16ToUtf8(result.amount) << '\n';
    }
    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return 0;
}
