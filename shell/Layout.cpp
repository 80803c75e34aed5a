#include "shell/Layout.h"

namespace zelvo {
namespace {

constexpr double kDesignWidth = 960.0;
constexpr double kDesignHeight = 706.0;
constexpr double kWidthPerHeight = 1.3597733711048159;  // 960 / 706
constexpr double kHeightPerWidth = 0.7354166666666666;  // 706 / 960
constexpr int kSmallWidth = 1024;
constexpr int kSmallHeight = 800;
constexpr int kDockMargin = 2;

LayoutScale g_scale;
bool g_smallScreen = false;

}  // namespace

WindowPlacement PlaceMainWindow(const WorkArea& area) {
    WindowPlacement placement;
    double width = area.width;
    double height = area.height;
    if (area.height > 0 && width / height > kWidthPerHeight) {
        width = height * kWidthPerHeight;
    } else {
        height = width * kHeightPerWidth;
    }
    int fittedWidth = static_cast<int>(width * 0.9);
    int fittedHeight = static_cast<int>(height * 0.9);

    if (area.width < kSmallWidth || area.height < kSmallHeight) {
        placement.smallScreen = true;
        placement.width = fittedWidth;
        placement.height = fittedHeight;
        placement.scale.sy = fittedHeight * 0.00141643059490085;
        placement.scale.sx = fittedWidth * 0.0010416666666666667;
    } else {
        placement.width = static_cast<int>(kDesignWidth);
        placement.height = static_cast<int>(kDesignHeight);
    }
    placement.x = area.left + kDockMargin;
    placement.y = area.top + area.height - placement.height - kDockMargin;
    return placement;
}

const LayoutScale& GetLayoutScale() {
    return g_scale;
}

bool SmallScreenMode() {
    return g_smallScreen;
}

void SetWindowLayout(const LayoutScale& scale, bool smallScreen) {
    g_scale = scale;
    g_smallScreen = smallScreen;
}

}  // namespace zelvo
