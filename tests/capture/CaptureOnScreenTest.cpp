#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>

#include "app/CaptureWiring.h"
#include "config/TerminalConfig.h"
#include "capture/AmountCapture.h"
#include "capture/RegionSelectOverlay.h"
#include "shell/controls/AmountDisplay.h"
#include "shell/controls/AmountEdit.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinEdit.h"
#include "operator/CurrentOperator.h"
#include "shell/pages/OperationPages.h"
#include "shell/pages/PaymentPage.h"
#include "shell/pages/PaymentPanel.h"
#include "shell/window/MainWindow.h"
#include "shell/window/PageArea.h"
#include "shell/window/RestoreIcon.h"
#include "store/LocalDb.h"
#include "tests/capture/FakeCaptureTarget.h"
#include "tests/support/CashierWindow.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

void Spin(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

// A till program's total, at a known place of the screen.
class TillTotal : public QWidget {
public:
    TillTotal(const QString& text, const QRect& place)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                               Qt::X11BypassWindowManagerHint),
          m_text(text) {
        setGeometry(place);
        show();
        Spin(300);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(24);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter, m_text);
    }

private:
    QString m_text;
};

class OnScreen : public testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
            GTEST_SKIP() << "needs an X server";
        }
        const char* data = ZELVO_TESSDATA_DIR;
        setenv("TESSDATA_PREFIX", data, 1);
        test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db");
    }
    void Sql(const std::string& sql) { test::RunSql(m_dir.Path() / "MISData.db", sql); }

    test::ScopedWorkDir m_dir;
};

// The width and height a cut.bmp holds.
QSize BitmapSize() {
    const std::string bytes = test::ReadFile("cut.bmp");
    if (bytes.size() < 54) return {};
    auto at = [&](size_t offset) {
        return static_cast<int>(static_cast<unsigned char>(bytes[offset]) |
                                static_cast<unsigned char>(bytes[offset + 1]) << 8);
    };
    return QSize(at(18), at(22));
}

TEST_F(OnScreen, TheOverlayOpensWithItsCrossHairWhereTheMouseIs) {
    QCursor::setPos(400, 300);
    QApplication::processEvents();
    QImage frozen(640, 480, QImage::Format_RGB32);
    frozen.fill(Qt::white);
    RegionSelectOverlay overlay(frozen, QRect(0, 0, 640, 480));
    overlay.show();
    QApplication::processEvents();
    const QImage drawn = overlay.grab().toImage();
    overlay.hide();
    // The cross-hair's lines darken the veiled ground along the mouse's row and column.
    EXPECT_LT(qGray(drawn.pixel(400, 100)), qGray(drawn.pixel(380, 100)));
    EXPECT_LT(qGray(drawn.pixel(100, 300)), qGray(drawn.pixel(100, 280)));
}

TEST_F(OnScreen, TheStoredRegionIsCopiedClampedToTheDisplay) {
    const QSize display = QGuiApplication::primaryScreen()->size();
    CLocalDb db;
    ASSERT_TRUE(db.Open(u"MISData.db"));
    test::FakeCaptureTarget target;
    AmountCapture capture(db, target, u"");
    capture.SetReader([](const std::string&, bool) {
        return ChainResult{ChainOutcome::Read, u""};
    });

    Sql("update SysConfig set Value = '100,50,300,90' where Name = 'CutRect';");
    capture.CaptureAmount();
    EXPECT_EQ(BitmapSize(), QSize(200, 40));

    const int right = display.width() + 200;
    const int bottom = display.height() + 100;
    Sql("update SysConfig set Value = '" + std::to_string(display.width() - 120) + "," +
        std::to_string(display.height() - 80) + "," + std::to_string(right) + "," +
        std::to_string(bottom) + "' where Name = 'CutRect';");
    capture.ResetCaptureRect();
    capture.CaptureAmount();
    EXPECT_EQ(BitmapSize(), QSize(120, 80));
}

// The whole cashier: the restore icon's click reads the total off the screen into the payment
// page before the window comes back.
class CaptureEndToEnd : public OnScreen {
protected:
    void SetUp() override {
        OnScreen::SetUp();
        if (IsSkipped()) return;
        Sql("update SysConfig set Value = '1000,300,1200,340' where Name = 'CutRect';");
        CLocalDb* db = GetLocalDb();
        ASSERT_NE(db, nullptr);
        LoadTerminalConfig(*db, GetTerminalConfig());
        GetCurrentOperator().Clear();
        m_operations = std::make_unique<OperationServices>();
        m_window = std::make_unique<MainWindow>(test::CashierWindowSetup(
            *db, *m_operations, QGuiApplication::primaryScreen()->availableGeometry()));
        m_wiring = std::make_unique<CaptureWiring>(*db, *m_window, u"");
        m_window->PlaceAndShow();
        QApplication::setActiveWindow(m_window.get());
        ASSERT_TRUE(test::LogInDemoOperator(*m_window));
        ASSERT_EQ(m_window->CurrentPage(), PageId::Payment);
        m_total =
            std::make_unique<TillTotal>(QStringLiteral("\u00A5128.50"), QRect(1000, 300, 200, 40));
    }
    void TearDown() override {
        m_total.reset();
        m_wiring.reset();
        m_window.reset();
        m_operations.reset();
        GetCurrentOperator().Clear();
        CloseLocalDb();
    }
    void ClickRestoreIcon() {
        m_window->Minimise();
        Spin(100);
        ASSERT_FALSE(m_window->VisibleFlag());
        RestoreIcon* icon = m_window->Restore();
        const QPointF inside(30, 30);
        QMouseEvent press(QEvent::MouseButtonPress, inside, icon->mapToGlobal(inside),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(icon, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, inside, icon->mapToGlobal(inside),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(icon, &release);
    }
    PaymentPanel& Panel() const {
        return static_cast<PaymentPage*>(m_window->Page(PageId::Payment))->Panel();
    }

    std::unique_ptr<OperationServices> m_operations;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<CaptureWiring> m_wiring;
    std::unique_ptr<TillTotal> m_total;
    ScriptedDialogs m_dialogs;
};

TEST_F(CaptureEndToEnd, TheRestoreIconReadsTheTotalIntoThePaymentPage) {
    ClickRestoreIcon();
    EXPECT_TRUE(m_window->VisibleFlag());
    EXPECT_EQ(BitmapSize(), QSize(200, 40));
    EXPECT_EQ(Panel().AmountBox()->text(), QStringLiteral("128.50"));
    EXPECT_EQ(Panel().Display()->Amount(), QStringLiteral("128.50"));
    EXPECT_EQ(m_window->focusWidget(), Panel().CodeBox());
    EXPECT_TRUE(m_dialogs.History().empty());
}

TEST_F(CaptureEndToEnd, OnTheQueryPageNothingIsCaptured) {
    Panel().AmountBox()->setText(QStringLiteral("8.00"));
    m_window->Pages()->SelectPage(PageId::QueryRefund);
    ASSERT_EQ(m_window->CurrentPage(), PageId::QueryRefund);
    ClickRestoreIcon();
    EXPECT_TRUE(m_window->VisibleFlag());
    EXPECT_EQ(m_window->CurrentPage(), PageId::QueryRefund);
    EXPECT_FALSE(std::filesystem::exists("cut.bmp"));
    EXPECT_EQ(Panel().AmountBox()->text(), QStringLiteral("8.00"));
}

}  // namespace
}  // namespace zelvo
