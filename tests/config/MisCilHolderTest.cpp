#include "config/MisCilHolder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/TerminalConfig.h"
#include "MISCIL/ExchangeLog.h"
#include "MISCIL/MisCil.h"
#include "store/LocalDb.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

class MisCilHolderTest : public testing::Test {
protected:
    MisCilHolderTest() { test::MakeDeliveredDatabase(m_dir.Path() / "MISData.db"); }
    ~MisCilHolderTest() override {
        CloseLocalDb();
        CloseExchangeLog();
    }
    test::ScopedWorkDir m_dir;
};

TEST_F(MisCilHolderTest, TheFirstHolderCreatesTheContextAndLoadsTheConfigurationOnce) {
    ASSERT_EQ(MisCilGetContext(), nullptr);
    auto first = std::make_unique<MisCilHolder>();
    ASSERT_NE(MisCilGetContext(), nullptr);
    EXPECT_EQ(LoadedMisCilCfg().MerCode, "898310060110001");
    EXPECT_EQ(LoadedMisCilCfg().MerKey, "Zelvo0123456789abcdefDEMOKEY2026");
    EXPECT_EQ(LoadedMisCilCfg().MerName, u"Zelvo演示商户");
    EXPECT_EQ(LoadedMisCilSettings().serverPort, 17601);
    EXPECT_EQ(LoadedMisCilSettings().spacLine, 3);
    EXPECT_TRUE(std::filesystem::exists(m_dir.Path() / "logfile.txt"));

    test::RunSql(m_dir.Path() / "MISData.db",
                 "update SysConfig set Value = '17999' where Name = 'ServerPort'");
    MisCilContext* context = MisCilGetContext();
    auto second = std::make_unique<MisCilHolder>();
    EXPECT_EQ(MisCilGetContext(), context);
    EXPECT_EQ(LoadedMisCilSettings().serverPort, 17601);

    // The context is shared: it stays while any page still holds it.
    first.reset();
    EXPECT_EQ(MisCilGetContext(), context);
    second.reset();
    EXPECT_EQ(MisCilGetContext(), nullptr);
}

TEST_F(MisCilHolderTest, EachHolderStartsWithAnEmptyRequestBuffer) {
    MisCilHolder holder;
    std::memset(holder.Request(), 'x', MisCilHolder::kRequestSize);
    holder.ClearRequest();
    for (size_t i = 0; i < MisCilHolder::kRequestSize; ++i) ASSERT_EQ(holder.Request()[i], '\0');
}

TEST_F(MisCilHolderTest, WithoutADatabaseTheLibraryStillOpensItsLog) {
    std::filesystem::remove(m_dir.Path() / "MISData.db");
    std::filesystem::create_directory(m_dir.Path() / "MISData.db");
    MisCilHolder holder;
    EXPECT_NE(MisCilGetContext(), nullptr);
    EXPECT_TRUE(std::filesystem::exists(m_dir.Path() / "logfile.txt"));
}

}  // namespace
}  // namespace zelvo
