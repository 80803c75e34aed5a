#include <filesystem>

#include <gtest/gtest.h>

#include "shell/Restart.h"
#include "shell/controls/Dialogs.h"
#include "shell/controls/SkinDialog.h"
#include "tests/update/UpdateCheckFixture.h"
#include "update/UpdateService.h"

namespace zelvo::test {
namespace {

class UpdateServiceTest : public UpdateCheckFixture {
protected:
    void SetUp() override {
        UpdateCheckFixture::SetUp();
        SetRestartHandler([this] { ++m_restarts; });
    }
    void TearDown() override { SetRestartHandler(nullptr); }

    std::atomic<int> m_restarts{0};
};

TEST_F(UpdateServiceTest, QuestionAndSuccessAreConfirmDialogsThenTheProgramRestarts) {
    ScriptedDialogs dialogs;
    dialogs.QueueAnswer(DialogResult::Confirm);
    dialogs.QueueAnswer(DialogResult::Cancel);
    UpdateService service;
    service.Start(Setup());
    ASSERT_TRUE(PumpUntil([&] { return m_restarts == 1; }));
    service.Stop();
    ASSERT_EQ(dialogs.History().size(), 2u);
    EXPECT_EQ(dialogs.History()[0].text, QStringLiteral("有更新的应用程序版本是否需要更新！"));
    EXPECT_EQ(dialogs.History()[1].text, QStringLiteral("恭喜你，应用程序更新成功！"));
    EXPECT_EQ(ReadFile(Executable()), m_newProgram);
}

TEST_F(UpdateServiceTest, DeclinedQuestionNeitherInstallsNorRestarts) {
    ScriptedDialogs dialogs;
    dialogs.QueueAnswer(DialogResult::Cancel);
    UpdateService service;
    service.Start(Setup());
    ASSERT_TRUE(PumpUntil([&] { return dialogs.History().size() == 1; }));
    service.Stop();
    EXPECT_EQ(m_restarts, 0);
    ExpectNothingChanged();
}

TEST_F(UpdateServiceTest, StoppingEndsARequestTheServerNeverAnswers) {
    m_server.Serve("/version.xml",
                   {TestHttpServer::Reply{200, "", TestHttpServer::Reply::kSilent}});
    UpdateCheckSetup setup = Setup();
    // Far beyond the test's time limit: only the stop can end this request.
    setup.http.requestTimeoutMs = 3600 * 1000;
    UpdateService service;
    service.Start(setup);
    ASSERT_TRUE(PumpUntil([&] { return m_server.Requests("/version.xml") == 1; }));
    service.Stop();
    EXPECT_EQ(m_restarts, 0);
}

}  // namespace
}  // namespace zelvo::test
