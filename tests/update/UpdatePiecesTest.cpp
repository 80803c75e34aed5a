#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "tests/update/UpdateTestSupport.h"
#include "update/ExecutableHeader.h"
#include "update/UpdateInstaller.h"
#include "update/VersionCompare.h"

namespace zelvo::test {
namespace {
namespace fs = std::filesystem;

TEST(VersionCompare, RemoteInSinglePrecisionMustExceedLocalByMoreThanAThousandth) {
    EXPECT_TRUE(IsNewerVersion("1.21", "1.2"));
    EXPECT_FALSE(IsNewerVersion("1.2005", "1.2"));
    EXPECT_FALSE(IsNewerVersion("1.1", "1.2"));
    // 1.201 in single precision lies just below 1.201.
    EXPECT_FALSE(IsNewerVersion("1.201", "1.2"));
    EXPECT_TRUE(IsNewerVersion("1.2011", "1.2"));
}

TEST(VersionCompare, OnlyTheLeadingNumberCounts) {
    EXPECT_DOUBLE_EQ(LeadingVersionNumber("1.5<version/>"), 1.5);
    EXPECT_DOUBLE_EQ(LeadingVersionNumber("\xEF\xBB\xBF 2.25\r\n"), 2.25);
    EXPECT_DOUBLE_EQ(LeadingVersionNumber("version 3"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingVersionNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(LeadingVersionNumber("inf"), 0.0);
    EXPECT_DOUBLE_EQ(LeadingVersionNumber("nan"), 0.0);
    EXPECT_FALSE(IsNewerVersion("1e300", "1.0"));
}

std::string ElfHeader(int type, int machine) {
    std::string header(64, '\0');
    header.replace(0, 4,
                   "\x7F"
                   "ELF");
    header[4] = sizeof(void*) == 8 ? 2 : 1;
    header[5] = 1;
    header[16] = static_cast<char>(type);
    header[18] = static_cast<char>(machine & 0xFF);
    header[19] = static_cast<char>(machine >> 8);
    return header;
}

TEST(ExecutableHeader, ProgramsOfThisPlatformPassAndOthersDoNot) {
    std::string self = ReadFile("/proc/self/exe").substr(0, 4096);
    ASSERT_TRUE(IsExecutableForThisPlatform(self));
    ExecutableFormat format = ReadExecutableFormat(self);
    // A relocatable object, another machine, a cut header and a web page are no programs.
    EXPECT_FALSE(IsExecutableForThisPlatform(ElfHeader(1, format.machine)));
    EXPECT_TRUE(IsExecutableForThisPlatform(ElfHeader(3, format.machine)));
    EXPECT_FALSE(IsExecutableForThisPlatform(ElfHeader(2, format.machine + 1)));
    EXPECT_FALSE(IsExecutableForThisPlatform(self.substr(0, 12)));
    EXPECT_FALSE(IsExecutableForThisPlatform("<html><body>502 Bad Gateway</body></html>"));
}

TEST(ExecutableHeader, PeHeaderIsReadButIsNoLinuxProgram) {
    std::string pe(0x200, '\0');
    pe.replace(0, 2, "MZ");
    pe[0x3C] = static_cast<char>(0x80);
    pe.replace(0x80, 4, std::string("PE\0\0", 4));
    pe[0x84] = static_cast<char>(0x64);
    pe[0x85] = static_cast<char>(0x86);
    pe[0x98] = 0x0B;
    pe[0x99] = 0x02;
    ExecutableFormat format = ReadExecutableFormat(pe);
    EXPECT_EQ(format.kind, ExecutableFormat::kPe);
    EXPECT_EQ(format.machine, 0x8664);
    EXPECT_TRUE(format.is64Bit);
    EXPECT_FALSE(IsExecutableForThisPlatform(pe));
    // The PE header offset points past the data read.
    pe[0x3D] = 0x7F;
    EXPECT_EQ(ReadExecutableFormat(pe).kind, ExecutableFormat::kUnknown);
}

class InstallTest : public testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_paths.executable, "old program");
        fs::permissions(m_paths.executable, fs::perms::owner_all);
        WriteFile(m_paths.download, "new program");
        WriteFile(m_paths.versionFile, "1.0\n");
    }
    ScopedWorkDir m_dir;
    InstallPaths m_paths{m_dir.Path() / "zelvo", m_dir.Path() / "zelvo.bak",
                         m_dir.Path() / "download", m_dir.Path() / "version.xml"};
};

TEST_F(InstallTest, NewProgramTakesTheOldOnesPermissions) {
    ASSERT_TRUE(InstallUpdate(m_paths, "1.1\n"));
    EXPECT_EQ(ReadFile(m_paths.executable), "new program");
    EXPECT_TRUE(IsRunnable(m_paths.executable));
    EXPECT_EQ(ReadFile(m_paths.backup), "old program");
    EXPECT_TRUE(IsRunnable(m_paths.backup));
    EXPECT_EQ(ReadFile(m_paths.versionFile), "1.1\n");
}

TEST_F(InstallTest, FailedMoveOfTheDownloadPutsTheOldProgramBack) {
    fs::remove(m_paths.download);
    EXPECT_FALSE(InstallUpdate(m_paths, "1.1\n"));
    EXPECT_EQ(ReadFile(m_paths.executable), "old program");
    EXPECT_TRUE(IsRunnable(m_paths.executable));
    EXPECT_FALSE(fs::exists(m_paths.backup));
    EXPECT_EQ(ReadFile(m_paths.versionFile), "1.0\n");
}

TEST_F(InstallTest, UnwritableVersionFilePutsTheOldProgramBack) {
    m_paths.versionFile = m_dir.Path() / "missing-folder" / "version.xml";
    EXPECT_FALSE(InstallUpdate(m_paths, "1.1\n"));
    EXPECT_EQ(ReadFile(m_paths.executable), "old program");
    EXPECT_TRUE(IsRunnable(m_paths.executable));
}

TEST_F(InstallTest, BackupThatCannotBeReplacedKeepsTheProgramWhereItIs) {
    fs::create_directories(m_paths.backup / "in-use");
    EXPECT_FALSE(InstallUpdate(m_paths, "1.1\n"));
    EXPECT_EQ(ReadFile(m_paths.executable), "old program");
    EXPECT_TRUE(fs::is_directory(m_paths.backup));
}

TEST(MoveReplacing, CopiesWhenARenameIsRefused) {
    ScopedWorkDir dir;
    // /dev/shm is another file system than the working folder on most machines; where it is
    // not, the rename path is taken and the outcome is the same.
    fs::path from = fs::path("/dev/shm") / ("zelvo-move-" + std::to_string(getpid()));
    WriteFile(from, "payload");
    fs::permissions(from, fs::perms::owner_all);
    ASSERT_TRUE(MoveReplacing(from, dir.Path() / "target"));
    EXPECT_FALSE(fs::exists(from));
    EXPECT_EQ(ReadFile(dir.Path() / "target"), "payload");
    EXPECT_FALSE(fs::exists(dir.Path() / "target.part"));
}

}  // namespace
}  // namespace zelvo::test
