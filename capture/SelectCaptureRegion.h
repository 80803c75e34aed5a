#pragma once

#include <functional>

namespace zelvo {

class CLocalDb;
class RegionSelectOverlay;

// What the region selection does to the rest of the program.
struct RegionSelectHost {
    // Hides (false) or brings back (true) the main window and the restore icon.
    std::function<void(bool shown)> showWindows;
    // The stored region changed: the capture reads it again.
    std::function<void()> resetCaptureRect;
    // Runs the overlay modally and answers whether it was confirmed; tests replace it.
    std::function<bool(RegionSelectOverlay& overlay)> runOverlay;
};

// Lets the operator drag the capture region over the frozen screen and stores it in CutRect
// when confirmed with Enter. False only when storing failed.
bool SelectCaptureRegion(CLocalDb& db, const RegionSelectHost& host);

}  // namespace zelvo
