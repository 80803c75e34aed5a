#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"
#include "tests/update/UpdateTestSupport.h"
#include "update/UpdateSignature.h"

namespace zelvo::test {
namespace {
namespace fs = std::filesystem;

int Shell(const std::string& command) {
    return std::system((command + " > /dev/null 2>&1").c_str());
}

// The operator's script lays out what the update check reads, signed with the given key.
TEST(UpdateFolderScript, LaysOutTheVersionTheExecutableAndItsSignature) {
    if (Shell("command -v openssl") != 0) GTEST_SKIP() << "openssl not installed";
    ScopedWorkDir dir;
    ASSERT_EQ(Shell("openssl genpkey -algorithm ed25519 -out private.pem"), 0);
    ASSERT_EQ(Shell("openssl pkey -in private.pem -pubout -out update-key.pem"), 0);
    std::string script = std::string(ZELVO_SOURCE_DIR) + "/tools/update-server/serve-update.sh";
    ASSERT_EQ(Shell(script + " " + UPDATE_PROBE + " 1.3 --folder served --key private.pem" +
                    " --no-serve"),
              0);
    std::string program = ReadFile(dir.Path() / "served" / "Moxel.exe");
    EXPECT_EQ(program, ReadFile(UPDATE_PROBE));
    EXPECT_EQ(ReadFile(dir.Path() / "served" / "version.xml"), "1.3\n");
    EXPECT_TRUE(VerifyUpdateSignature(dir.Path() / "update-key.pem", program,
                                      ReadFile(dir.Path() / "served" / "Moxel.exe.sig")));
    // A version the check could not read is refused before anything is written.
    EXPECT_NE(Shell(script + " " + UPDATE_PROBE + " v1.4 --folder refused --no-serve"), 0);
    EXPECT_FALSE(fs::exists(dir.Path() / "refused"));
}

}  // namespace
}  // namespace zelvo::test
