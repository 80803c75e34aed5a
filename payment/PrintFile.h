#pragma once

#include <filesystem>
#include <string>

namespace zelvo {

// Writes the print hand-off file anew: byte-order mark FF FE, then the text as UTF-16
// little-endian (lines already end with CR LF). False when it could not be written whole.
bool WritePrintFile(const std::filesystem::path& path, const std::u16string& text);

}  // namespace zelvo
