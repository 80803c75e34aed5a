#pragma once

#include <string_view>

namespace zelvo {

struct TransRecord;

// Opens today's logfile.txt in the current directory: appended to when its first line holds
// today's date, created anew with the date line otherwise. Logs to standard output when it
// cannot be opened.
void OpenExchangeLog();

// Writes one event line for the record of the process context (empty fields without one).
void WriteLogEvent(int location, int code, std::string_view text);
// The same with the record given.
void WriteLogEvent(const TransRecord* record, int location, int code, std::string_view text);

void FlushExchangeLog();
// Closes the log file (at exit); events then go to standard output.
void CloseExchangeLog();

}  // namespace zelvo
