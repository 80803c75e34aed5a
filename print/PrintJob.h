#pragma once

// Taking SCprint.txt to paper. Plain header: the flows call it without seeing Qt.
namespace zelvo {

// Starts one print job on a worker thread and returns at once. The caller has written and
// closed SCprint.txt; the job reads the printing configuration as it stands now. Failures are
// reported by the job itself through the print failure sink.
void StartPrintJob();

// Waits until every job started so far has finished (at exit, and in tests).
void WaitForPrintJobs();

}  // namespace zelvo
