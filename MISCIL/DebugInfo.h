#pragma once

namespace zelvo {

struct MisCilContext;

// Prints the record and the message buffers to standard output.
void PrintDebugInfo(const MisCilContext& context);

}  // namespace zelvo
