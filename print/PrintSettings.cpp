#include "print/PrintSettings.h"

#include <algorithm>
#include <atomic>

#include "base/Text.h"
#include "config/TerminalConfig.h"

namespace zelvo {
namespace {

std::atomic<int> g_measuredLineHeight{0};

}  // namespace

PrintSettings TakePrintSettings(TerminalConfig& config) {
    if (config.FontSize < 1) config.FontSize = kDefaultFontSize;
    if (config.LineHeight < 1 && RememberedLineHeight() > 0) {
        config.LineHeight = RememberedLineHeight();
    }
    PrintSettings settings;
    settings.PrintMerPage = config.PrintMerPage;
    settings.PrintCustPage = config.PrintCustPage;
    settings.PrintName = config.PrintName;
    settings.SerialPort = config.SerialPort;
    settings.FontSize = std::min(config.FontSize, kLargestFontSize);
    settings.LineHeight = std::min(config.LineHeight, kLargestLineHeight);
    return settings;
}

bool PrintingSwitchedOff(const PrintSettings& settings) {
    return settings.PrintMerPage == "0" && settings.PrintCustPage == "0";
}

bool IsDriverlessPrinter(const std::u16string& printName) {
    return EqualsIgnoringCase(printName, kDriverlessPrinterName);
}

int RememberedLineHeight() {
    return g_measuredLineHeight.load();
}

void RememberLineHeight(int lineHeight) {
    if (lineHeight > 0) g_measuredLineHeight.store(lineHeight);
}

}  // namespace zelvo
