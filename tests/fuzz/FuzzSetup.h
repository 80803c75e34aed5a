#pragma once

#include "MISCIL/MisCilContext.h"

namespace zelvo::fuzz {

// Configures the library once (demo key, UTF-8 bodies) in a scratch folder, sends its log
// events to nowhere, and answers the context every input starts from.
MisCilContext& FreshContext();

}  // namespace zelvo::fuzz
