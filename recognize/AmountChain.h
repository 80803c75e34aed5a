#pragma once

#include <optional>
#include <string>

namespace zelvo {

// The work files of a capture, in the working folder.
inline constexpr const char* kScreenCopyFile = "cut.bmp";
inline constexpr const char* kCleanedImageFile = "cut.jpg";
inline constexpr const char* kResultBase = "result";
inline constexpr const char* kResultFile = "result.txt";

// Removes the work files, so that a step that writes nothing cannot leave an earlier capture's
// image or text to be read as this one's.
void RemoveWorkFiles();

// The recognised text in a result file: its lines joined without separators, read in pieces of
// at most 49 bytes; a longer line ends the reading and is left out. None when it cannot be
// opened. System code page, converted to UTF-16.
std::optional<std::u16string> ReadRecognisedText(const std::string& path);

enum class ChainOutcome {
    PreprocessFailed,
    RecognitionFailed,
    ResultMissing,
    Read,  // `amount` holds the amount text, empty when none could be read
};

struct ChainResult {
    ChainOutcome outcome;
    std::u16string amount;
};

// The reader's chain on an image, in the working folder: cleaning into "cut.jpg" when
// `preprocess` is set, recognition into "result.txt", the reading of that file and the amount
// rules. `exeDir` ends with a separator. A region that cuts through a character at its left or
// right side reads as no amount, unless that character was read as a word of its own with no digit
// or point in it (a label's, the sign).
ChainResult ReadAmountFromImage(const std::string& image, bool preprocess,
                                const std::u16string& exeDir);

}  // namespace zelvo
