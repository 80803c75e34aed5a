#pragma once

#include <functional>
#include <memory>

#include <QString>

class QPrinter;

namespace zelvo {

struct PrintSettings;

// Gives the printer of that name, or none when the system has no such printer.
using PrinterOpener = std::function<std::unique_ptr<QPrinter>(const QString& name)>;

// The system's printers (CUPS on Linux, the spooler on Windows), looked up by name.
std::unique_ptr<QPrinter> OpenNamedPrinter(const QString& name);

// Replaces where printers come from (tests hand in a PDF printer); none restores the system's.
void SetPrinterOpener(PrinterOpener opener);

// Prints the print file on one page of the named printer, one line every LineHeight device
// units. Reports "选择打印机失败！" for an unknown printer and "打印失败了" when the document
// cannot be started; a missing print file drops the document silently. A LineHeight below 1
// is measured from the font, and remembered for later jobs.
void PrintThroughDriver(PrintSettings& settings);

}  // namespace zelvo
