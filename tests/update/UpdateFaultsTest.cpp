#include <filesystem>

#include <gtest/gtest.h>

#include "tests/update/UpdateCheckFixture.h"

namespace zelvo::test {
namespace {
namespace fs = std::filesystem;

using Reply = TestHttpServer::Reply;
using UpdateFaultsTest = UpdateCheckFixture;

TEST_F(UpdateFaultsTest, DownloadCutShortOfItsLengthIsNeverInstalled) {
    Reply probe{200, QByteArray::fromStdString(m_newProgram)};
    Reply cut{200, QByteArray::fromStdString(m_newProgram), Reply::kCutAfter,
              static_cast<qint64>(m_newProgram.size() / 2)};
    m_server.Serve("/Moxel.exe", {probe, cut});
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateDownloadFailed);
    ExpectNothingChanged();
}

TEST_F(UpdateFaultsTest, DownloadWithoutAStatedLengthIsTakenWhole) {
    m_server.Serve("/Moxel.exe",
                   {Reply{200, QByteArray::fromStdString(m_newProgram), Reply::kNoLength}});
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateInstalled);
    EXPECT_EQ(ReadFile(Executable()), m_newProgram);
}

TEST_F(UpdateFaultsTest, ErrorAnswersAreFilesThatCouldNotBeOpened) {
    for (int status : {404, 500}) {
        SCOPED_TRACE(status);
        // An error page whose body looks like a newer version is still an error.
        m_server.Serve("/version.xml", {Reply{status, "9.9"}});
        ScriptedUpdatePrompts prompts;
        EXPECT_EQ(Run(prompts), kUpdateOpenFailed);
        EXPECT_EQ(prompts.questions, 0);
    }
    m_server.Serve("/version.xml", "1.21");
    m_server.Serve("/Moxel.exe", {Reply{404, QByteArray::fromStdString(m_newProgram)}});
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateOpenFailed);
    EXPECT_EQ(prompts.questions, 0);
    ExpectNothingChanged();
}

TEST_F(UpdateFaultsTest, ExecutableGoneAfterTheQuestionIsAFailedDownload) {
    m_server.Serve("/Moxel.exe", {Reply{200, QByteArray::fromStdString(m_newProgram)},
                                  Reply{404, "<html>gone</html>"}});
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateDownloadFailed);
    ExpectNothingChanged();
}

TEST_F(UpdateFaultsTest, DownloadThatIsNoProgramOfThisPlatformChangesNothing) {
    for (QByteArray body :
         {QByteArray("<html><body>Please log in</body></html>"), QByteArray("MZ\x90\0\x03", 5),
          QByteArray("\x7F"
                     "ELF")}) {
        m_server.Serve("/Moxel.exe", body);
        ScriptedUpdatePrompts prompts;
        EXPECT_EQ(Run(prompts), kUpdateDeclinedOrInstallFailed);
        ExpectNothingChanged();
    }
}

TEST_F(UpdateFaultsTest, ServerThatNeverAnswersEndsTheCheck) {
    m_server.Serve("/version.xml", {Reply{200, "", Reply::kSilent}});
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateOpenFailed);

    m_server.Serve("/version.xml", "1.21");
    m_server.Serve("/Moxel.exe", {Reply{200, QByteArray::fromStdString(m_newProgram)},
                                  Reply{200, "", Reply::kSilent}});
    EXPECT_EQ(Run(prompts), kUpdateDownloadFailed);
    ExpectNothingChanged();
}

TEST_F(UpdateFaultsTest, DownloadLargerThanTheLimitIsRefused) {
    UpdateCheckSetup setup = Setup();
    setup.maxDownloadBytes = static_cast<qint64>(m_newProgram.size()) - 1;
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(UpdateCheck(setup, prompts).Run(), kUpdateDownloadFailed);
    ExpectNothingChanged();
}

TEST_F(UpdateFaultsTest, VersionFileCutShortIsNothingRead) {
    m_server.Serve("/version.xml", {Reply{200, "1.21\r\n", Reply::kCutAfter, 2}});
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateNothingRead);
}

}  // namespace
}  // namespace zelvo::test
