#include "tests/update/UpdateCheckFixture.h"

namespace zelvo::test {
namespace fs = std::filesystem;

void UpdateCheckFixture::SetUp() {
    ASSERT_TRUE(m_server.Start());
    fs::create_directories(Install());
    fs::create_directories(Temp());
    WriteFile(Executable(), m_oldProgram);
    fs::permissions(Executable(), fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
    WriteFile(Install() / "version.xml", "1.2\r\n");
    m_server.Serve("/version.xml", "1.21\r\n<update/>\r\n");
    m_server.Serve("/Moxel.exe", QByteArray::fromStdString(m_newProgram));
}

UpdateCheckSetup UpdateCheckFixture::Setup() const {
    UpdateCheckSetup setup;
    setup.updateServer = m_server.BaseUrl().toStdString();
    setup.executablePath = Executable();
    setup.tempFolder = Temp();
    setup.isOnline = [] { return true; };
    setup.http.requestTimeoutMs = 1000;
    setup.http.systemProxy = false;
    return setup;
}

UpdateResult UpdateCheckFixture::Run(ScriptedUpdatePrompts& prompts) const {
    return UpdateCheck(Setup(), prompts).Run();
}

void UpdateCheckFixture::ExpectNothingChanged() const {
    EXPECT_EQ(ReadFile(Executable()), m_oldProgram);
    EXPECT_TRUE(IsRunnable(Executable()));
    EXPECT_FALSE(fs::exists(Backup()));
    EXPECT_EQ(LocalVersion(), "1.2\r\n");
    EXPECT_TRUE(fs::is_empty(Temp()));
}

}  // namespace zelvo::test
