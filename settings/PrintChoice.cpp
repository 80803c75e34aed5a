#include "settings/PrintChoice.h"

#include "MISCIL/CfgValues.h"
#include "base/Text.h"

namespace zelvo {
int PrintChoiceIndex(const std::string& printMerPage, const std::string& printCustPage) {
    const long long customer = LeadingInteger(printCustPage);
    switch (LeadingInteger(printMerPage) + customer) {
        case 1:
            return customer == 1 ? 2 : 1;
        case 2:
            return customer == 2 ? 4 : 3;
        default:
            return 0;
    }
}

PrintFlags PrintFlagsForEntry(std::u16string_view entry) {
    static const std::array<PrintFlags, 5> kFlags{{
        {"0", "0"},
        {"1", "0"},
        {"0", "1"},
        {"1", "1"},
        {"0", "2"},
    }};
    for (size_t i = 1; i < kPrintChoiceEntries.size(); ++i) {
        if (EqualsIgnoringCase(entry, kPrintChoiceEntries[i])) return kFlags[i];
    }
    return kFlags[0];
}

std::vector<std::u16string> PrinterChoices(const std::vector<std::u16string>& systemPrinters) {
    std::vector<std::u16string> choices{std::u16string(kDriverlessPrinter)};
    choices.insert(choices.end(), systemPrinters.begin(), systemPrinters.end());
    return choices;
}

int PrinterIndex(const std::vector<std::u16string>& choices, std::u16string_view printName) {
    for (size_t i = 0; i < choices.size(); ++i) {
        if (EqualsIgnoringCase(choices[i], printName)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace zelvo
