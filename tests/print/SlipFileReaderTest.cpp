#include <fstream>

#include <gtest/gtest.h>

#include "PrintTestSupport.h"
#include "print/SlipFileReader.h"
#include "tests/support/TestSupport.h"

namespace zelvo {
namespace {

using Lines = std::vector<std::u16string>;

void WriteBytes(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

TEST(SlipFileReader, ReadsEachLineOnceWithoutItsLineEnd) {
    test::ScopedWorkDir dir;
    test::WriteSlipFile("SCprint.txt", {u"             签购单", u"", u"金额：RMB  12.50"});
    EXPECT_EQ(ReadSlipLines("SCprint.txt"),
              (Lines{u"             签购单", u"", u"金额：RMB  12.50"}));
}

TEST(SlipFileReader, MissingFileIsNoneAndMarkOnlyFileHasNoLines) {
    test::ScopedWorkDir dir;
    EXPECT_FALSE(ReadSlipLines("SCprint.txt").has_value());
    WriteBytes("SCprint.txt", "\xFF\xFE");
    EXPECT_EQ(ReadSlipLines("SCprint.txt"), Lines{});
}

TEST(SlipFileReader, LastLineWithoutLineEndAndOddByteAreKeptSafe) {
    test::ScopedWorkDir dir;
    WriteBytes("SCprint.txt", std::string("\xFF\xFE"
                                          "a\0\r\0\n\0b\0c\0\x41",
                                          13));
    EXPECT_EQ(ReadSlipLines("SCprint.txt"), (Lines{u"a", u"bc"}));
}

TEST(SlipFileReader, FileWithoutByteOrderMarkKeepsItsFirstCharacter) {
    test::ScopedWorkDir dir;
    WriteBytes("SCprint.txt", std::string("x\0\r\0\n\0", 6));
    EXPECT_EQ(ReadSlipLines("SCprint.txt"), Lines{u"x"});
}

TEST(SlipFileReader, OverlongLineContinuesOnTheNextLine) {
    test::ScopedWorkDir dir;
    const std::u16string longLine(kSlipLineCapacity + 5, u'宽');
    test::WriteSlipFile("SCprint.txt", {longLine, u"next"});
    const auto lines = ReadSlipLines("SCprint.txt");
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines,
              (Lines{std::u16string(kSlipLineCapacity, u'宽'), std::u16string(5, u'宽'), u"next"}));
}

TEST(SlipFileReader, HugeFileIsCutAtItsCapacity) {
    test::ScopedWorkDir dir;
    const std::u16string line(500, u'x');
    test::WriteSlipFile("SCprint.txt", Lines(2000, line));  // about 2 MB
    const auto lines = ReadSlipLines("SCprint.txt");
    ASSERT_TRUE(lines.has_value());
    // Each line takes 502 characters of two bytes in the file.
    EXPECT_EQ(lines->size(), kSlipFileCapacity / (2 * 502) + 1);
    EXPECT_EQ(lines->front(), line);
}

}  // namespace
}  // namespace zelvo
