#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "tests/update/TestHttpServer.h"
#include "tests/update/UpdateTestSupport.h"
#include "update/UpdateCheck.h"

namespace zelvo::test {

// An installation at version 1.2 with a runnable executable, and a server offering 1.21.
class UpdateCheckFixture : public testing::Test {
protected:
    void SetUp() override;

    std::filesystem::path Install() const { return m_dir.Path() / "install"; }
    std::filesystem::path Temp() const { return m_dir.Path() / "tmp"; }
    std::filesystem::path Executable() const { return Install() / "zelvo"; }
    std::filesystem::path Backup() const { return Install() / BackupFileName(); }
    std::filesystem::path Download() const { return Temp() / DownloadFileName(); }
    std::string LocalVersion() const { return ReadFile(Install() / "version.xml"); }

    UpdateCheckSetup Setup() const;
    UpdateResult Run(ScriptedUpdatePrompts& prompts) const;
    // The executable, the local version file and the temporary folder as before the check.
    void ExpectNothingChanged() const;

    ScopedWorkDir m_dir;
    TestHttpServer m_server;
    const std::string m_oldProgram = ProbeProgram("old");
    const std::string m_newProgram = ProbeProgram("new");
};

}  // namespace zelvo::test
