#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "recognize/AmountChain.h"
#include "recognize/ImageCleaning.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ResultFile, LinesAreJoinedWithoutSeparators) {
    test::ScopedWorkDir dir;
    Write("result.txt", "128\r\n.50\n");
    EXPECT_EQ(ReadRecognisedText("result.txt"), u"128.50");
    Write("result.txt", "66.00");  // no line end at the end of the file
    EXPECT_EQ(ReadRecognisedText("result.txt"), u"66.00");
}

TEST(ResultFile, AnOverLongLineEndsTheReadingWithoutBeingAdded) {
    test::ScopedWorkDir dir;
    Write("result.txt", "12.\n" + std::string(49, '5') + "\n.50\n");
    EXPECT_EQ(ReadRecognisedText("result.txt"), u"12." + std::u16string(49, u'5') + u".50");
    Write("result.txt", "12.\n" + std::string(50, '5') + "\n.50\n");
    EXPECT_EQ(ReadRecognisedText("result.txt"), u"12.");
    Write("result.txt", std::string(1 << 20, '9'));
    EXPECT_EQ(ReadRecognisedText("result.txt"), u"");
}

TEST(ResultFile, ManyShortLinesAreBounded) {
    test::ScopedWorkDir dir;
    std::string lines;
    for (int i = 0; i < 100000; ++i) lines += "7\n";
    Write("result.txt", lines);
    std::optional<std::u16string> text = ReadRecognisedText("result.txt");
    ASSERT_TRUE(text);
    EXPECT_LE(text->size(), 1024u);
}

TEST(ResultFile, TextIsInTheSystemCodePage) {
    test::ScopedWorkDir dir;
    Write("result.txt",
          "\xA3\xA4"
          "5.00\n");  // GBK full-width yen sign
    EXPECT_EQ(ReadRecognisedText("result.txt"), u"\uFFE55.00");
}

TEST(ResultFile, AMissingFileIsNoText) {
    test::ScopedWorkDir dir;
    EXPECT_FALSE(ReadRecognisedText("result.txt"));
}

TEST(ResultFile, RemovingTheWorkFilesLeavesNoEarlierResult) {
    test::ScopedWorkDir dir;
    const std::string names[] = {kScreenCopyFile, kCleanedImageFile,
                                 GreyLineBeside(kCleanedImageFile), kResultFile};
    for (const std::string& name : names) Write(name, "1");
    Write("other.txt", "1");
    RemoveWorkFiles();
    for (const std::string& name : names) EXPECT_FALSE(std::filesystem::exists(name)) << name;
    EXPECT_TRUE(std::filesystem::exists("other.txt"));
}

}  // namespace
}  // namespace zelvo
