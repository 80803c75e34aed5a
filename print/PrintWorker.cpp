#include "print/PrintWorker.h"

#include "print/DriverPrinter.h"
#include "print/DriverlessPrinter.h"
#include "print/PrintSettings.h"

namespace zelvo {

void PrintWorker(PrintSettings& settings) {
    if (PrintingSwitchedOff(settings)) return;
    if (IsDriverlessPrinter(settings.PrintName)) {
        PrintDriverless(settings);
    } else {
        PrintThroughDriver(settings);
    }
}

}  // namespace zelvo
