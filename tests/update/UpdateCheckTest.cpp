#include <filesystem>

#include <gtest/gtest.h>

#include "tests/update/UpdateCheckFixture.h"

namespace zelvo::test {
namespace {
namespace fs = std::filesystem;

using UpdateCheckTest = UpdateCheckFixture;

TEST_F(UpdateCheckTest, NewerVersionIsInstalledAndTheOldOneKeptRunnable) {
    ScriptedUpdatePrompts prompts(true);
    int restarts = 0;
    EXPECT_EQ(RunUpdateCheck(Setup(), prompts, [&] { ++restarts; }), kUpdateInstalled);
    EXPECT_EQ(prompts.questions, 1);
    EXPECT_EQ(prompts.successMessages, 1);
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(ReadFile(Executable()), m_newProgram);
    EXPECT_TRUE(IsRunnable(Executable()));
    EXPECT_EQ(ReadFile(Backup()), m_oldProgram);
    EXPECT_TRUE(IsRunnable(Backup()));
    EXPECT_EQ(LocalVersion(), "1.21\r\n<update/>\r\n");
    EXPECT_FALSE(fs::exists(Download()));
    EXPECT_EQ(m_server.LastHeader("User-Agent"), "AutoUpdateAgent");
    // Compressed transfer would make the stated length differ from the bytes kept.
    EXPECT_EQ(m_server.LastHeader("Accept-Encoding"), "identity");
}

TEST_F(UpdateCheckTest, NextCheckDeletesTheBackupOfTheLastUpdate) {
    WriteFile(Backup(), "left by the last update");
    m_server.Serve("/version.xml", "1.2");
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateNotNewer);
    EXPECT_FALSE(fs::exists(Backup()));
}

TEST_F(UpdateCheckTest, OnlyAVersionAboveTheLocalOneByMoreThanAThousandthIsOffered) {
    struct Case {
        const char* remote;
        UpdateResult result;
    };
    for (Case c : {Case{"1.21", kUpdateInstalled}, Case{"1.2005", kUpdateNotNewer},
                   Case{"1.1", kUpdateNotNewer}, Case{"1.2", kUpdateNotNewer},
                   Case{"version 2.0", kUpdateNotNewer}, Case{"<?xml?>3.0", kUpdateNotNewer}}) {
        SCOPED_TRACE(c.remote);
        WriteFile(Executable(), m_oldProgram);
        WriteFile(Install() / "version.xml", "1.2\r\n");
        m_server.Serve("/version.xml", c.remote);
        ScriptedUpdatePrompts prompts;
        EXPECT_EQ(Run(prompts), c.result);
        EXPECT_EQ(prompts.questions, c.result == kUpdateInstalled ? 1 : 0);
    }
    // Nothing was downloaded for the versions that were not newer.
    EXPECT_EQ(m_server.Requests("/Moxel.exe"), 2);
}

TEST_F(UpdateCheckTest, EmptyUpdateServerCannotOpenTheVersionFile) {
    UpdateCheckSetup setup = Setup();
    setup.updateServer.clear();
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(UpdateCheck(setup, prompts).Run(), kUpdateOpenFailed);
    EXPECT_EQ(prompts.questions, 0);
    ExpectNothingChanged();
}

TEST_F(UpdateCheckTest, OfflineMachineEndsBeforeAnyRequest) {
    UpdateCheckSetup setup = Setup();
    setup.isOnline = [] { return false; };
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(UpdateCheck(setup, prompts).Run(), kUpdateNoInternet);
    EXPECT_EQ(m_server.Requests("/version.xml"), 0);
}

TEST_F(UpdateCheckTest, EmptyRemoteVersionFileIsNothingRead) {
    m_server.Serve("/version.xml", QByteArray());
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateNothingRead);
}

TEST_F(UpdateCheckTest, MissingOrEmptyLocalVersionIsNoLocalVersion) {
    fs::remove(Install() / "version.xml");
    ScriptedUpdatePrompts prompts;
    EXPECT_EQ(Run(prompts), kUpdateNoLocalVersion);
    WriteFile(Install() / "version.xml", "\r\n1.0\r\n");
    EXPECT_EQ(Run(prompts), kUpdateNoLocalVersion);
    EXPECT_EQ(prompts.questions, 0);
}

TEST_F(UpdateCheckTest, DeclinedQuestionChangesNothingAndComesAgainNextTime) {
    ScriptedUpdatePrompts prompts(false);
    EXPECT_EQ(Run(prompts), kUpdateDeclinedOrInstallFailed);
    ExpectNothingChanged();
    EXPECT_EQ(Run(prompts), kUpdateDeclinedOrInstallFailed);
    EXPECT_EQ(prompts.questions, 2);
    EXPECT_EQ(prompts.successMessages, 0);
    ExpectNothingChanged();
}

TEST_F(UpdateCheckTest, ResultOtherThanInstalledShowsNothingAndDoesNotRestart) {
    m_server.Serve("/version.xml", "1.0");
    ScriptedUpdatePrompts prompts;
    int restarts = 0;
    EXPECT_EQ(RunUpdateCheck(Setup(), prompts, [&] { ++restarts; }), kUpdateNotNewer);
    EXPECT_EQ(prompts.successMessages, 0);
    EXPECT_EQ(restarts, 0);
}

}  // namespace
}  // namespace zelvo::test
