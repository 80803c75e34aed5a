#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zelvo {

// A line is read with at most this many characters; a longer line continues as the next one.
inline constexpr size_t kSlipLineCapacity = 1023;
// The print file holds a slip or a bill; anything larger is not one of ours and is cut here.
inline constexpr std::uintmax_t kSlipFileCapacity = 1024 * 1024;

// Reads the UTF-16LE print file (byte-order mark FF FE, CR LF lines) as its lines, without
// their line ends. None when the file cannot be opened.
std::optional<std::vector<std::u16string>> ReadSlipLines(const std::filesystem::path& file);

}  // namespace zelvo
