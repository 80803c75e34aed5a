#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zelvo {

// The print choice list, in its order; each entry stands for a pair of stored flags.
inline constexpr std::array<std::u16string_view, 5> kPrintChoiceEntries{
    u"不打印", u"打印商户联", u"打印顾客联", u"打印商户联和顾客联", u"仅结算时打印",
};

struct PrintFlags {
    std::string PrintMerPage;
    std::string PrintCustPage;
};

// The entry that the stored flags select (read as numbers; an odd pair selects "不打印").
int PrintChoiceIndex(const std::string& printMerPage, const std::string& printCustPage);

// The flags an entry stores; an unknown text stores "0" and "0".
PrintFlags PrintFlagsForEntry(std::u16string_view entry);

// The printer list: printing without a driver first, then the system's printers.
inline constexpr std::u16string_view kDriverlessPrinter = u"无驱动打印";
std::vector<std::u16string> PrinterChoices(const std::vector<std::u16string>& systemPrinters);

// The entry equal to `printName` ignoring letter case, or -1 when there is none.
int PrinterIndex(const std::vector<std::u16string>& choices, std::u16string_view printName);

}  // namespace zelvo
