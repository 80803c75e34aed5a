#pragma once

namespace zelvo {

// Design units to pixels: every unit position and size is multiplied by sx (horizontal) or sy
// (vertical). Both stay 1.0 unless the screen is small.
struct LayoutScale {
    double sx = 1.0;
    double sy = 1.0;

    int X(double units) const { return static_cast<int>(units * sx); }
    int Y(double units) const { return static_cast<int>(units * sy); }
};

struct WorkArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where the main window goes and how the layout is scaled for a work area.
struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool smallScreen = false;
    LayoutScale scale;
};

// Keeps the 960 x 706 design ratio: 90 % of the limiting side on a small screen, else the
// design size; docked 2 pixels in from the bottom-left corner of the work area.
WindowPlacement PlaceMainWindow(const WorkArea& area);

// The process-wide layout, set once at start-up before any window is made.
const LayoutScale& GetLayoutScale();
bool SmallScreenMode();
void SetWindowLayout(const LayoutScale& scale, bool smallScreen);

}  // namespace zelvo
