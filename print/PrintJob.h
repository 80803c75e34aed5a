#pragma once

// Taking SCprint.txt to paper. Plain header: the flows call it without seeing Qt.
#include "print/PrintSettings.h"

namespace zelvo {

// Starts one print job on a worker thread and returns at once. The caller has written and
// closed SCprint.txt and took the settings on its own thread (TakePrintSettings). Failures are
// reported by the job itself through the print failure sink.
void StartPrintJob(PrintSettings settings);

// Waits until every job started so far has finished (at exit, and in tests).
void WaitForPrintJobs();

}  // namespace zelvo
