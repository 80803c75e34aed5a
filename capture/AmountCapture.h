#pragma once

#include <functional>
#include <string>

#include "capture/CaptureRect.h"
#include "recognize/AmountChain.h"

namespace zelvo {

class CaptureTarget;
class CLocalDb;

// Reads the amount off the till program's screen into the payment page: copies the stored
// region of the screen to "cut.bmp" in the working folder and runs the reader on it. Lives as
// long as the page area; runs on the user-interface thread.
class AmountCapture {
public:
    // Runs the reader's chain on the screen copy; replaceable so tests can force each outcome.
    using Reader = std::function<ChainResult(const std::string& image, bool preprocess)>;

    // Reads the pre-processing switch once: on only when OpencvFlag is exactly "1".
    // `exeDir` is the executable's folder with its trailing separator.
    AmountCapture(CLocalDb& db, CaptureTarget& target, std::u16string exeDir);

    void CaptureAmount();
    // The stored region changed: it is read again at the next capture.
    void ResetCaptureRect() { m_rect = {}; }

    const CaptureRect& Rect() const { return m_rect; }
    bool Preprocessing() const { return m_preprocess; }
    void SetReader(Reader reader) { m_reader = std::move(reader); }

private:
    // False when the stored region cannot be used; the operator has been told.
    bool LoadRect();
    void TakeResult(const ChainResult& result);

    CLocalDb& m_db;
    CaptureTarget& m_target;
    Reader m_reader;
    CaptureRect m_rect;
    bool m_preprocess = false;
};

}  // namespace zelvo
