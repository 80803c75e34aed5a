#include "payment/FlowServices.h"

#include "config/TerminalConfig.h"

namespace zelvo {

bool PrintsSlipAfterTransaction(const TerminalConfig& config) {
    return config.PrintCustPage.empty() || config.PrintCustPage[0] != '2';
}

}  // namespace zelvo
