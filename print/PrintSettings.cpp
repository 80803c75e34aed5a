#include "print/PrintSettings.h"

#include <algorithm>
#include <atomic>

#include "config/TerminalConfig.h"

namespace zelvo {
namespace {

std::atomic<int> g_measuredLineHeight{0};

char16_t FoldAsciiCase(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? c - u'A' + u'a' : c;
}

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
    const std::u16string_view expected = kDriverlessPrinterName;
    if (printName.size() != expected.size()) return false;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (FoldAsciiCase(printName[i]) != FoldAsciiCase(expected[i])) return false;
    }
    return true;
}

int RememberedLineHeight() {
    return g_measuredLineHeight.load();
}

void RememberLineHeight(int lineHeight) {
    if (lineHeight > 0) g_measuredLineHeight.store(lineHeight);
}

}  // namespace zelvo
