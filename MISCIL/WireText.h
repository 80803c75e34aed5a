#pragma once

#include <string>
#include <string_view>

namespace zelvo {

// Gateway text travels as UTF-8 with Charset "1" and in the system code page with "2"; the
// record always holds the system code page.
std::string RecordTextToWire(std::string_view gbk, std::string_view charset);
std::string WireTextToRecord(std::string_view wire, std::string_view charset);

}  // namespace zelvo
