#pragma once

namespace zelvo {

struct MisCilContext;

// Arms the deadline of the wait for an answer: the configured waiting time from now. Always 0.
int nSetTimeoutMon(MisCilContext& context);

// The deadline has passed: logs "txn timeout", sets the flag and the response code "98" and
// disarms the deadline.
void OnTxnTimeout(MisCilContext& context);

// Disarms the deadline.
void StopTimeoutMon(MisCilContext& context);

// A dead connection cannot answer: wait for the deadline without spinning, then time out.
void WaitOutTimeout(MisCilContext& context);

// Milliseconds left before the deadline (0 once it has passed); -1 when none is armed.
int RemainingWaitMs(const MisCilContext& context);

}  // namespace zelvo
