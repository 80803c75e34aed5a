#pragma once

namespace zelvo {

// What a banner message says about itself; the values are those the pages pass around.
enum class MessageKind { Error = 0, Success = 1, Notice = 2 };

}  // namespace zelvo
