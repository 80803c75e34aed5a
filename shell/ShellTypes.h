#pragma once

namespace zelvo {

// What a banner message says about itself; the values are those the pages pass around.
enum class MessageKind { Error = 0, Success = 1, Notice = 2 };

// The pages of the page area; None before the first page is shown.
enum class PageId : int {
    None = 0,
    Payment = 10010,
    QueryRefund = 10011,
    ChangePassword = 10012,
    Settings = 10013,
};

}  // namespace zelvo
