#pragma once

namespace zelvo {

struct PrintSettings;

// One print job on the calling thread: nothing when both copies are switched off, otherwise
// the driverless path or the driver path as PrintName chooses.
void PrintWorker(PrintSettings& settings);

}  // namespace zelvo
