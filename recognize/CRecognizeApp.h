#pragma once

#include <string>

namespace zelvo {

// The OCR component the amount capture calls: clean the screen copy, read its one line of
// text, and turn that text into the amount the amount box takes.
class CRecognizeApp {
public:
    // Reads the screen copy at `in` and writes a cleaned image for recognition to `out`.
    // 0 on failure.
    static int PicProcess(const std::string& in, const std::string& out);

    // Recognises the one line of text in `image` and writes it to `base` + ".txt" in the system
    // code page; characters the recogniser was unsure of are written as "?". The recognition
    // data are found through TESSDATA_PREFIX, else in `exeDir`. 0 on failure.
    static int RunTesseract(const std::u16string& image, const std::u16string& base,
                            const std::u16string& exeDir);

    // Rewrites recognised text into the amount text, or into the empty text when no single
    // amount can be read with confidence.
    static void ModifyAccount(std::u16string& text);
};

}  // namespace zelvo
