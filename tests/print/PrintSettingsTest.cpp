#include <gtest/gtest.h>

#include "config/TerminalConfig.h"
#include "print/PrintSettings.h"

namespace zelvo {
namespace {

TEST(PrintSettings, OnlyBothCopiesExactlyZeroSwitchPrintingOff) {
    PrintSettings settings;
    settings.PrintMerPage = "0";
    settings.PrintCustPage = "0";
    EXPECT_TRUE(PrintingSwitchedOff(settings));
    settings.PrintMerPage = "";  // never configured: printing takes place
    EXPECT_FALSE(PrintingSwitchedOff(settings));
    settings.PrintMerPage = "0";
    settings.PrintCustPage = "2";
    EXPECT_FALSE(PrintingSwitchedOff(settings));
    settings.PrintCustPage = "00";
    EXPECT_FALSE(PrintingSwitchedOff(settings));
}

TEST(PrintSettings, DriverlessNameIsMatchedWholeIgnoringLetterCase) {
    EXPECT_TRUE(IsDriverlessPrinter(u"无驱动打印"));
    EXPECT_FALSE(IsDriverlessPrinter(u"无驱动打印 "));
    EXPECT_FALSE(IsDriverlessPrinter(u""));
    EXPECT_FALSE(IsDriverlessPrinter(u"XP-58"));
}

TEST(PrintSettings, SmallFontSizeIsReplacedForThisAndLaterJobs) {
    TerminalConfig config;
    config.FontSize = 0;
    config.LineHeight = 17;
    config.PrintName = u"XP-58";
    config.SerialPort = u"/dev/usb/lp0";
    const PrintSettings settings = TakePrintSettings(config);
    EXPECT_EQ(settings.FontSize, 20);
    EXPECT_EQ(config.FontSize, 20);
    EXPECT_EQ(settings.LineHeight, 17);
    EXPECT_EQ(settings.PrintName, u"XP-58");
    EXPECT_EQ(settings.SerialPort, u"/dev/usb/lp0");
    EXPECT_EQ(settings.slipFile, "SCprint.txt");
}

TEST(PrintSettings, OversizedFontAndPitchAreCutForTheJob) {
    TerminalConfig config;
    config.FontSize = 2000000000;
    config.LineHeight = 2000000000;
    const PrintSettings settings = TakePrintSettings(config);
    EXPECT_EQ(settings.FontSize, kLargestFontSize);
    EXPECT_EQ(settings.LineHeight, kLargestLineHeight);
}

TEST(PrintSettings, MeasuredLineHeightIsReusedButAConfiguredOneWins) {
    RememberLineHeight(31);
    TerminalConfig measured;
    measured.LineHeight = 0;
    EXPECT_EQ(TakePrintSettings(measured).LineHeight, 31);
    EXPECT_EQ(measured.LineHeight, 31);

    TerminalConfig configured;
    configured.LineHeight = 24;
    EXPECT_EQ(TakePrintSettings(configured).LineHeight, 24);
}

}  // namespace
}  // namespace zelvo
