#include <filesystem>

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "capture/RegionSelectOverlay.h"
#include "capture/SelectCaptureRegion.h"
#include "store/CLocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

QImage FrozenScreen() {
    QImage image(480, 270, QImage::Format_RGB32);
    image.fill(QColor(230, 236, 242));
    QPainter painter(&image);
    painter.fillRect(300, 40, 150, 40, Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(24);
    painter.setFont(font);
    painter.drawText(QRect(300, 40, 150, 40), Qt::AlignCenter, QStringLiteral("\u00A5128.50"));
    return image;
}

void Mouse(QWidget& widget, QEvent::Type type, QPoint local) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(local), QPointF(local), QPointF(local + widget.pos()), button,
                      held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void Drag(QWidget& widget, QPoint from, QPoint to) {
    Mouse(widget, QEvent::MouseButtonPress, from);
    Mouse(widget, QEvent::MouseMove, (from + to) / 2);
    Mouse(widget, QEvent::MouseMove, to);
    Mouse(widget, QEvent::MouseButtonRelease, to);
}

void Key(QWidget& widget, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

class RegionSelectTest : public testing::Test {
protected:
    RegionSelectOverlay m_overlay{FrozenScreen(), QRect(0, 0, 480, 270)};
};

TEST_F(RegionSelectTest, ADragRightAndDownIsDrawnAndStoredPressFirst) {
    m_overlay.show();
    Mouse(m_overlay, QEvent::MouseButtonPress, {296, 36});
    EXPECT_TRUE(m_overlay.Dragging());
    Mouse(m_overlay, QEvent::MouseMove, {400, 70});
    EXPECT_EQ(m_overlay.DrawnRect(), QRect(QPoint(296, 36), QPoint(399, 69)));
    Mouse(m_overlay, QEvent::MouseButtonRelease, {454, 84});
    EXPECT_FALSE(m_overlay.Dragging());
    EXPECT_EQ(m_overlay.DrawnRect(), QRect(QPoint(296, 36), QPoint(453, 83)));
    EXPECT_EQ(m_overlay.StoredRect(), (CaptureRect{296, 36, 454, 84}));
    Key(m_overlay, Qt::Key_Return);
    EXPECT_EQ(m_overlay.result(), QDialog::Accepted);
}

TEST_F(RegionSelectTest, AnUpLeftDragShowsNothingAndStoresPressThenRelease) {
    m_overlay.show();
    Drag(m_overlay, {400, 200}, {100, 50});
    EXPECT_TRUE(m_overlay.DrawnRect().isEmpty());
    EXPECT_EQ(m_overlay.StoredRect(), (CaptureRect{400, 200, 100, 50}));
    // Nothing was drawn, so a new drag may still start.
    Drag(m_overlay, {10, 20}, {60, 40});
    EXPECT_EQ(m_overlay.DrawnRect(), QRect(QPoint(10, 20), QPoint(59, 39)));
}

TEST_F(RegionSelectTest, ALaterClickKeepsTheRectangleButMovesTheStoredPoints) {
    m_overlay.show();
    Drag(m_overlay, {10, 20}, {60, 40});
    Mouse(m_overlay, QEvent::MouseButtonPress, {200, 150});
    EXPECT_FALSE(m_overlay.Dragging());
    Mouse(m_overlay, QEvent::MouseButtonRelease, {200, 150});
    EXPECT_EQ(m_overlay.DrawnRect(), QRect(QPoint(10, 20), QPoint(59, 39)));
    EXPECT_EQ(m_overlay.StoredRect(), (CaptureRect{200, 150, 200, 150}));
}

TEST_F(RegionSelectTest, StoredPointsAreScreenCoordinates) {
    RegionSelectOverlay overlay(FrozenScreen(), QRect(1366, 0, 480, 270));
    overlay.show();
    Drag(overlay, {10, 20}, {60, 40});
    EXPECT_EQ(overlay.StoredRect(), (CaptureRect{1376, 20, 1426, 40}));
}

TEST_F(RegionSelectTest, EscapeCancels) {
    m_overlay.show();
    Drag(m_overlay, {10, 20}, {60, 40});
    Key(m_overlay, Qt::Key_Escape);
    EXPECT_EQ(m_overlay.result(), QDialog::Rejected);
    EXPECT_FALSE(m_overlay.isVisible());
}

TEST_F(RegionSelectTest, ScreenshotsShowTheVeilTheRectangleAndTheText) {
    m_overlay.show();
    const std::filesystem::path folder =
        std::filesystem::path(ZELVO_BINARY_DIR) / "screenshots" / "capture";
    std::filesystem::create_directories(folder);
    Mouse(m_overlay, QEvent::MouseMove, {260, 130});
    QImage empty = m_overlay.grab().toImage();
    ASSERT_TRUE(empty.save(QString::fromStdString((folder / "region-select-start.png").string())));
    Drag(m_overlay, {296, 36}, {454, 84});
    Mouse(m_overlay, QEvent::MouseMove, {300, 160});
    QImage drawn = m_overlay.grab().toImage();
    ASSERT_TRUE(drawn.save(QString::fromStdString((folder / "region-select-drawn.png").string())));

    const QImage frozen = FrozenScreen();
    // Inside the rectangle the screen shows as it was; outside it lies under the veil.
    EXPECT_EQ(drawn.pixel(310, 45), frozen.pixel(310, 45));
    EXPECT_LT(qGray(drawn.pixel(20, 250)), qGray(frozen.pixel(20, 250)));
    // The cross-hair runs through the cursor, the border around the rectangle.
    EXPECT_LT(qGray(drawn.pixel(20, 160)), qGray(drawn.pixel(20, 250)));
    EXPECT_LT(qGray(drawn.pixel(295, 60)), qGray(frozen.pixel(295, 60)) - 20);
    // The red instruction text starts left of the cursor, below it.
    bool red = false;
    for (int y = 160; y < 220 && !red; ++y) {
        for (int x = 85; x < 300 && !red; ++x) {
            const QRgb p = drawn.pixel(x, y);
            red = qRed(p) > 180 && qGreen(p) < 80 && qBlue(p) < 80;
        }
    }
    EXPECT_TRUE(red);
}

// The selection as the settings button runs it, with the overlay driven by the test.
class SelectCaptureRegionTest : public testing::Test {
protected:
    void SetUp() override {
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
        ASSERT_TRUE(m_db.Open(u"MISData.db"));
        ASSERT_TRUE(m_db.Execute("update SysConfig set Value = '1,2,3,4' where Name = 'CutRect'"));
        m_host.showWindows = [this](bool shown) { m_steps.push_back(shown ? "show" : "hide"); };
        m_host.resetCaptureRect = [this] { m_steps.push_back("reset"); };
    }
    std::string Stored() {
        return test::QueryText(m_dir.Path() / "MISData.db",
                               "select Value from SysConfig where Name = 'CutRect'");
    }

    test::ScopedWorkDir m_dir;
    CLocalDb m_db;
    RegionSelectHost m_host;
    std::vector<std::string> m_steps;
};

TEST_F(SelectCaptureRegionTest, EnterStoresTheDraggedRegion) {
    m_host.runOverlay = [](RegionSelectOverlay& overlay) {
        overlay.show();
        Drag(overlay, {812, 40}, {1010, 88});
        return true;
    };
    EXPECT_TRUE(SelectCaptureRegion(m_db, m_host));
    EXPECT_EQ(Stored(), "812,40,1010,88");
    EXPECT_EQ(m_steps, (std::vector<std::string>{"hide", "show", "reset"}));
}

TEST_F(SelectCaptureRegionTest, EnterWithoutAPressStoresZeros) {
    m_host.runOverlay = [](RegionSelectOverlay&) { return true; };
    EXPECT_TRUE(SelectCaptureRegion(m_db, m_host));
    EXPECT_EQ(Stored(), "0,0,0,0");
}

TEST_F(SelectCaptureRegionTest, EscapeStoresNothing) {
    m_host.runOverlay = [](RegionSelectOverlay& overlay) {
        overlay.show();
        Drag(overlay, {10, 20}, {60, 40});
        return false;
    };
    EXPECT_TRUE(SelectCaptureRegion(m_db, m_host));
    EXPECT_EQ(Stored(), "1,2,3,4");
    EXPECT_EQ(m_steps, (std::vector<std::string>{"hide", "show", "reset"}));
}

TEST_F(SelectCaptureRegionTest, AFailedStoreBringsTheWindowBackAndReportsIt) {
    m_host.runOverlay = [](RegionSelectOverlay&) { return true; };
    m_db.Close();
    EXPECT_FALSE(SelectCaptureRegion(m_db, m_host));
    EXPECT_EQ(Stored(), "1,2,3,4");
    EXPECT_EQ(m_steps, (std::vector<std::string>{"hide", "show"}));
}

}  // namespace
}  // namespace zelvo
