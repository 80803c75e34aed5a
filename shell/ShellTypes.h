#pragma once

// MessageKind: shared with the flows below the pages.
#include "payment/MessageKind.h"

namespace zelvo {

// The pages of the page area; None before the first page is shown.
enum class PageId : int {
    None = 0,
    Payment = 10010,
    QueryRefund = 10011,
    ChangePassword = 10012,
    Settings = 10013,
};

}  // namespace zelvo
