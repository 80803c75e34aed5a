#include "capture/SelectCaptureRegion.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "capture/RegionSelectOverlay.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

// Long enough for the hidden windows to be gone from the screen that is frozen next.
constexpr int kHideDelayMs = 200;

void WaitWithEvents(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool RunModally(RegionSelectOverlay& overlay) {
    return overlay.exec() == QDialog::Accepted;
}

}  // namespace

bool SelectCaptureRegion(CLocalDb& db, const RegionSelectHost& host) {
    if (host.showWindows) host.showWindows(false);
    WaitWithEvents(kHideDelayMs);

    QScreen* screen = QGuiApplication::primaryScreen();
    // The virtual screen's size from the primary screen's origin.
    const QRect area(screen->geometry().topLeft(), screen->virtualSize());
    QImage frozen =
        screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    bool confirmed = false;
    CaptureRect stored;
    {
        RegionSelectOverlay overlay(std::move(frozen), area);
        confirmed = host.runOverlay ? host.runOverlay(overlay) : RunModally(overlay);
        stored = overlay.StoredRect();
    }
    if (confirmed && !db.Execute("update SysConfig set Value = ? where Name = 'CutRect'",
                                 {CutRectText(stored)})) {
        if (host.showWindows) host.showWindows(true);
        return false;
    }
    if (host.showWindows) host.showWindows(true);
    if (host.resetCaptureRect) host.resetCaptureRect();
    return true;
}

}  // namespace zelvo
