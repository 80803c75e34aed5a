#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include <QTest>

#include "shell/Layout.h"
#include "shell/controls/ConfirmDialog.h"
#include "shell/controls/Skin.h"
#include "shell/controls/TabButton.h"
#include "shell/controls/NoticeDialog.h"
#include "shell/login/LoginPanel.h"
#include "shell/window/NavigationBar.h"
#include "shell/window/ContactPopup.h"
#include "shell/window/MainWindow.h"
#include "shell/window/MessageBanner.h"
#include "shell/window/PageArea.h"
#include "shell/window/RestoreIcon.h"
#include "tests/shell/ShellFixture.h"

namespace zelvo {
namespace {

// Saves the look of the shell as PNG files under <build>/screenshots/shell for a person to
// look at; each file must come out as a real picture of the size of its window.
class ScreenshotsTest : public test::ShellTest {
protected:
    void SetUp() override {
        // The faces the cashier draws with, as at start-up.
        skin::InstallFontSubstitutions();
        test::ShellTest::SetUp();
    }
    void Save(QWidget* widget, const char* name) {
        std::filesystem::path folder =
            std::filesystem::path(ZELVO_BINARY_DIR) / "screenshots" / "shell";
        std::filesystem::create_directories(folder);
        QPixmap shot = widget->grab();
        ASSERT_FALSE(shot.isNull()) << name;
        EXPECT_EQ(shot.size(), widget->size()) << name;
        QString path = QString::fromStdString((folder / name).string());
        ASSERT_TRUE(shot.save(path, "PNG")) << name;
    }

    // Whether the pixel at `at` of the widget's picture is `expected`, give or take rounding.
    static testing::AssertionResult Near(QWidget* widget, QPoint at, const QColor& expected) {
        const QColor actual = widget->grab().toImage().pixelColor(at);
        const int worst = std::max({std::abs(actual.red() - expected.red()),
                                    std::abs(actual.green() - expected.green()),
                                    std::abs(actual.blue() - expected.blue())});
        if (worst <= 4) return testing::AssertionSuccess();
        return testing::AssertionFailure()
               << "(" << at.x() << ", " << at.y() << ") is " << actual.name().toStdString()
               << ", expected " << expected.name().toStdString();
    }
    // A colour drawn at `alpha` over `under`.
    static QColor Over(const QColor& colour, int alpha, const QColor& under) {
        auto mix = [alpha](int top, int bottom) {
            return (top * alpha + bottom * (255 - alpha)) / 255;
        };
        return QColor(mix(colour.red(), under.red()), mix(colour.green(), under.green()),
                      mix(colour.blue(), under.blue()));
    }
};

// The screens are compared at the places the layout fixes, so a broken layout fails here
// rather than only in a picture nobody looks at.
TEST_F(ScreenshotsTest, LoginCardSitsCentredBelowTheBanner) {
    MakeWindow(1920, 1040);
    const LayoutScale& scale = GetLayoutScale();
    PageArea* area = m_window->Pages();
    // The card: 300 units wide, centred, from 33 units below the login panel's top.
    const int cardLeft = 2 + (area->width() - 4 - scale.X(300)) / 2;
    const int cardTop = scale.Y(64) + scale.Y(33);
    const QColor frame(0x9B, 0x9B, 0x9B);
    EXPECT_TRUE(Near(area, QPoint(cardLeft, cardTop + 20), frame));
    EXPECT_TRUE(Near(area, QPoint(cardLeft - 2, cardTop + 20), skin::Panel));
    EXPECT_TRUE(Near(area, QPoint(cardLeft + 4, cardTop + 4), Qt::white));
    const int cardRight = cardLeft + scale.X(300) - 1;
    EXPECT_TRUE(Near(area, QPoint(cardRight, cardTop + 20), frame));
    EXPECT_TRUE(Near(area, QPoint(cardRight + 2, cardTop + 20), skin::Panel));
    EXPECT_TRUE(Near(area, QPoint(cardLeft + 20, cardTop), frame));
    EXPECT_TRUE(Near(area, QPoint(cardLeft + 20, cardTop - 2), skin::Panel));
}

TEST_F(ScreenshotsTest, BannerColourFollowsTheKindAndTheSelectedTabIsDark) {
    MakeWindow(1920, 1040);
    MessageBanner* banner = m_window->Pages()->Banner();
    const QPoint corner(3, 3);
    EXPECT_TRUE(Near(banner, corner, skin::Panel));
    const std::pair<MessageKind, QColor> kinds[] = {
        {MessageKind::Error, QColor(0xFB, 0x65, 0x37)},
        {MessageKind::Success, QColor(0x50, 0xE3, 0xC2)},
        {MessageKind::Notice, QColor(0xEE, 0xD4, 0x6C)},
    };
    for (const auto& [kind, colour] : kinds) {
        m_window->ShowMessage(kind, QStringLiteral("提示"));
        EXPECT_TRUE(Near(banner, corner, Over(colour, 200, skin::Panel))) << static_cast<int>(kind);
    }
    banner->Expire();
    EXPECT_TRUE(Near(banner, corner, skin::Panel));
    EXPECT_TRUE(Near(banner, QPoint(banner->width() / 2, banner->height() - 1),
                     QColor(0xC0, 0xC0, 0xC0)));
    LogIn(QStringLiteral("01"), QStringLiteral("123456"));
    NavigationBar* navigation = m_window->Pages()->Navigation();
    const QPoint inside(6, 6);
    EXPECT_TRUE(Near(navigation->Tab(PageId::Payment), inside, skin::TabAccent));
    EXPECT_TRUE(Near(navigation->Tab(PageId::QueryRefund), inside, Qt::white));
    EXPECT_TRUE(Near(navigation->Tab(PageId::QueryRefund),
                     QPoint(0, navigation->Tab(PageId::QueryRefund)->height() / 2),
                     QColor(0x95, 0x95, 0x95)));
    m_window->NextPage();
    EXPECT_TRUE(Near(navigation->Tab(PageId::Payment), inside, Qt::white));
    EXPECT_TRUE(Near(navigation->Tab(PageId::QueryRefund), inside, skin::TabAccent));
}

// Kind 0 (failures, the re-login question) is an orange warning sign, kind 1 a green success
// mark, kind 2 (the waiting prompt, errors needing attention) a blue information mark: never
// the red of a failure on a payment that may still succeed.
TEST_F(ScreenshotsTest, DialogPictureColourFollowsTheKind) {
    MakeWindow(1920, 1040);
    struct Case {
        int kind;
        QPoint at;  // in the dialog, on the picture's fill away from its white mark
        QColor colour;
    };
    const Case cases[] = {
        {0, QPoint(143 + 30, 60 + 44), QColor(0xF5, 0x8A, 0x1F)},
        {1, QPoint(143 + 24, 60 + 20), QColor(0x50, 0xE3, 0xC2)},
        {2, QPoint(143 + 24, 60 + 20), QColor(0x1E, 0x88, 0xE5)},
    };
    for (const Case& c : cases) {
        ConfirmDialog dialog(static_cast<IconKind>(c.kind), QStringLiteral("请在用户完成付款后，查询结果！"),
                             QStringLiteral("确  定"), QStringLiteral("取  消"));
        dialog.show();
        EXPECT_TRUE(Near(&dialog, c.at, c.colour)) << "kind " << c.kind;
        // The outline keeps the dialog's edge apart from white panels beneath it.
        EXPECT_TRUE(Near(&dialog, QPoint(0, 120), skin::Grey)) << "kind " << c.kind;
        EXPECT_TRUE(Near(&dialog, QPoint(367, 200), skin::Grey)) << "kind " << c.kind;
        EXPECT_TRUE(Near(&dialog, QPoint(3, 120), Qt::white)) << "kind " << c.kind;
        Save(&dialog, ("dialog-kind-" + std::to_string(c.kind) + ".png").c_str());
    }
}

TEST_F(ScreenshotsTest, SavesEveryScreen) {
    MakeWindow(1920, 1040);
    Save(m_window.get(), "login-panel.png");
    m_window->ShowMessage(MessageKind::Error, QStringLiteral("用户不存在或密码不正确！"));
    Save(m_window.get(), "login-wrong-password.png");
    LogIn(QStringLiteral("01"), QStringLiteral("123456"));
    m_window->Pages()->Banner()->Expire();
    Save(m_window.get(), "main-window-after-login.png");
    m_window->Pages()->ToggleKeypad();
    Save(m_window.get(), "keypad.png");
    m_window->Pages()->CloseKeypad();
    m_window->NextPage();
    m_window->NextPage();
    Save(m_window.get(), "change-password.png");
    m_window->ShowMessage(MessageKind::Success, QStringLiteral("修改成功！"));
    Save(m_window.get(), "change-password-success.png");

    ConfirmDialog confirm(IconKind::Warning, QStringLiteral("确定要重新登陆吗？"),
                          QStringLiteral("确  定"), QStringLiteral("取  消"));
    confirm.show();
    Save(&confirm, "confirm-dialog.png");
    NoticeDialog notice(IconKind::Warning, QStringLiteral("网络异常，请确认当前网络状态"),
                        QStringLiteral("我知道了"));
    notice.show();
    Save(&notice, "notice-dialog.png");
    m_window->Restore()->show();
    Save(m_window->Restore(), "restore-icon.png");
    m_window->ToggleContactPopup();
    Save(m_window->Contact(), "contact-popup.png");
}

TEST_F(ScreenshotsTest, SmallScreen) {
    MakeWindow(1366, 728);
    Save(m_window.get(), "login-panel-1366x728.png");
    LogIn(QStringLiteral("01"), QStringLiteral("123456"));
    m_window->Pages()->ToggleKeypad();
    Save(m_window.get(), "keypad-1366x728.png");
}

}  // namespace
}  // namespace zelvo
