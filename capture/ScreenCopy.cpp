#include "capture/ScreenCopy.h"

#include <algorithm>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

namespace zelvo {

QRect ClampToDisplay(const CaptureRect& rect, QSize display) {
    if (!rect.HasArea()) return {};
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, display.width());
    const int bottom = std::min(rect.bottom, display.height());
    if (right <= left || bottom <= top) return {};
    return QRect(left, top, right - left, bottom - top);
}

QImage CaptureScreenRect(const CaptureRect& rect) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return {};
    const QRect area = ClampToDisplay(rect, screen->size());
    if (area.isEmpty()) return {};
    return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

}  // namespace zelvo
