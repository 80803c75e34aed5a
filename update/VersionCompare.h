#pragma once

#include <string_view>

namespace zelvo {

// The decimal number a version text begins with (after blanks and a UTF-8 byte-order mark);
// 0 when it begins with anything else or the number is not finite.
double LeadingVersionNumber(std::string_view text);

// The remote version counts in single precision, the local one in double; the remote one is
// newer only when it exceeds the local one by more than 0.001.
bool IsNewerVersion(std::string_view remoteText, std::string_view localLine);

}  // namespace zelvo
