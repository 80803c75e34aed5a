#pragma once

#include <string>

#include "MISCIL/CfgValues.h"

namespace zelvo {

// Whether nLoadCfg has run in this process.
bool IsMisCilCfgLoaded();

// The operator's two characters set at login, for the slips.
const std::string& MisCilOperatorId();

}  // namespace zelvo
