#pragma once

namespace zelvo {

// Kinds of the message banner, numbered as the banner numbers them.
enum class MessageKind { Error = 0, Success = 1, Notice = 2 };

}  // namespace zelvo
