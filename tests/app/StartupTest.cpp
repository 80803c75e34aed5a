#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>

#include "app/CQuorraApp.h"
#include "base/CodePage.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinLabel.h"
#include "shell/login/LoginPanel.h"
#include "shell/window/MainWindow.h"
#include "shell/window/PageArea.h"
#include "shell/window/StatusBar.h"
#include "shell/window/TitleBar.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

// The start-up sequence of the application in a till's folder, with its dialogs answered here.
class StartupTest : public testing::Test {
protected:
    StartupTest() {
        unsetenv("TESSDATA_PREFIX");
        m_app.SetInformationBox([this](const std::u16string& text, const std::u16string& title) {
            m_information.push_back(Utf16ToUtf8(title) + ":" + Utf16ToUtf8(text));
        });
    }
    ~StartupTest() override { m_app.ExitInstance(); }

    void Deliver() { test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db"); }
    bool Start() { return m_app.InitInstance((m_dir.Path() / "bin" / "zelvo").string()); }
    bool Exists(const char* file) { return std::filesystem::exists(m_dir.Path() / file); }
    // Nothing past the step that failed ran: no window, no gateway library, no OCR folder.
    void ExpectEndedEarly() {
        EXPECT_EQ(m_app.Window(), nullptr);
        EXPECT_EQ(std::getenv("TESSDATA_PREFIX"), nullptr);
    }

    test::ScopedWorkDir m_dir;
    ScriptedDialogs m_dialogs;
    CQuorraApp m_app;
    std::vector<std::string> m_information;
};

TEST_F(StartupTest, ADatabaseThatCannotBeOpenedEndsTheProcessAfterItsMessage) {
    EXPECT_FALSE(Start());
    EXPECT_EQ(m_information, std::vector<std::string>{"提示框:打开数据库失败，请更换目录试试！"});
    ExpectEndedEarly();
    EXPECT_FALSE(Exists("MISData.db"));
    EXPECT_FALSE(Exists("logfile.txt"));  // the gateway library was never set up
}

TEST_F(StartupTest, AConfigurationThatCannotBeReadEndsTheProcessAfterItsDialog) {
    Deliver();
    // Every other read of the configuration works; the fifteen-key statement fails.
    test::RunSql(m_dir.Path() / "MISData.db",
                 "alter table SysConfig rename to Cfg;"
                 "create view SysConfig as select Name, case when Name = 'InsCode' then "
                 "abs(-9223372036854775807 - 1) else Value end as Value from Cfg;");
    EXPECT_FALSE(Start());
    ASSERT_EQ(m_dialogs.History().size(), 1u);
    EXPECT_EQ(m_dialogs.History()[0].text, QStringLiteral("初始化数据失败！"));
    EXPECT_TRUE(m_information.empty());
    ExpectEndedEarly();
    EXPECT_TRUE(Exists("logfile.txt"));  // it ended after the gateway library, not before
}

TEST_F(StartupTest, WindowTextsVersionAndOcrFolderReachTheRealWindow) {
    Deliver();
    test::RunSql(m_dir.Path() / "MISData.db",
                 "update SysConfig set Value = '悦来收银' where Name = 'TitleName';"
                 "update SysConfig set Value = '悦来科技' where Name = 'StatusName';"
                 "update SysConfig set Value = '欢迎光临' where Name = 'WelComeName';"
                 "delete from SysConfig where Name = 'CutRect';");
    std::ofstream(m_dir.Path() / "version.xml") << "2.3.1\nsecond line\n";
    ASSERT_TRUE(Start());
    EXPECT_TRUE(m_information.empty());
    // The steps before the window ran: the database's maintenance and the gateway library's set-up.
    EXPECT_EQ(test::QueryText(m_dir.Path() / "MISData.db",
                              "select count(*) from SysConfig where Name = 'CutRect'"),
              "1");
    EXPECT_TRUE(Exists("logfile.txt"));
    MainWindow* window = m_app.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("悦来收银"));
    EXPECT_EQ(window->Title()->TitleText(), QStringLiteral("悦来收银"));
    EXPECT_EQ(window->Title()->VersionText(), QStringLiteral("V2.3.1"));
    EXPECT_EQ(window->Status()->StatusText(), QStringLiteral("悦来科技"));
    ASSERT_NE(window->Pages()->Login(), nullptr);
    bool welcomed = false;
    for (SkinLabel* label : window->Pages()->Login()->findChildren<SkinLabel*>()) {
        welcomed = welcomed || label->Text() == QStringLiteral("欢迎光临");
    }
    EXPECT_TRUE(welcomed);
    const char* tessdata = std::getenv("TESSDATA_PREFIX");
    ASSERT_NE(tessdata, nullptr);
    EXPECT_EQ(std::string(tessdata), (m_dir.Path() / "bin").string() + "/");
}

TEST_F(StartupTest, WithoutVersionFileTheVersionIsVAlone) {
    Deliver();
    ASSERT_TRUE(Start());
    ASSERT_NE(m_app.Window(), nullptr);
    EXPECT_EQ(m_app.Window()->Title()->VersionText(), QStringLiteral("V"));
}

}  // namespace
}  // namespace zelvo
