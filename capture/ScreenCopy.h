#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include "capture/CaptureRect.h"

namespace zelvo {

// The part of `rect` on a display of `display` pixels from the origin: left and top at least 0,
// right and bottom at most the display's size. Empty when `rect` is.
QRect ClampToDisplay(const CaptureRect& rect, QSize display);

// A copy of the clamped rectangle of the primary display; null when there is nothing to copy.
QImage CaptureScreenRect(const CaptureRect& rect);

}  // namespace zelvo
