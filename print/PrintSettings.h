#pragma once

#include <filesystem>
#include <string>

namespace zelvo {

struct TerminalConfig;

inline constexpr int kDefaultFontSize = 20;
// Bounds of the configured sizes, in device units: far beyond any receipt, short of sizes that
// would make the font engine render glyphs of megabytes.
inline constexpr int kLargestFontSize = 1000;
inline constexpr int kLargestLineHeight = 10000;
inline constexpr char16_t kDriverlessPrinterName[] = u"无驱动打印";

// The configuration one print job works with, taken on the user-interface thread when the job
// starts, so the worker never reads a record that another thread writes.
struct PrintSettings {
    std::string PrintMerPage;
    std::string PrintCustPage;
    std::u16string PrintName;
    std::u16string SerialPort;
    int FontSize = kDefaultFontSize;
    int LineHeight = 0;  // below 1: measured from the printer font
    std::filesystem::path slipFile = "SCprint.txt";
};

// Takes the job's settings from the configuration. A FontSize below 1 is replaced by 20 and a
// LineHeight below 1 by the pitch an earlier job measured, in the configuration as well, so
// later jobs reuse them; sizes beyond their bounds are cut to them for the job.
PrintSettings TakePrintSettings(TerminalConfig& config);

// Both copies switched off ("0" exactly): nothing is printed.
bool PrintingSwitchedOff(const PrintSettings& settings);

// PrintName selects the driverless path when it is "无驱动打印", ignoring letter case.
bool IsDriverlessPrinter(const std::u16string& printName);

// The pitch measured by a job of this run (0 while none has measured one); any thread.
int RememberedLineHeight();
void RememberLineHeight(int lineHeight);

}  // namespace zelvo
