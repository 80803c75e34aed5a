#include <filesystem>

#include <QTest>

#include "shell/controls/ConfirmDialog.h"
#include "shell/controls/NoticeDialog.h"
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
};

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

    ConfirmDialog confirm(IconKind::Question, QStringLiteral("确定要重新登陆吗？"),
                          QStringLiteral("确  定"), QStringLiteral("取  消"));
    confirm.show();
    Save(&confirm, "confirm-dialog.png");
    NoticeDialog notice(IconKind::Question, QStringLiteral("网络异常，请确认当前网络状态"),
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
