#pragma once

#include <filesystem>
#include <string_view>

namespace zelvo {

// The machine an executable header names, as its format numbers it.
struct ExecutableFormat {
    enum Kind { kUnknown, kElf, kPe };
    Kind kind = kUnknown;
    int machine = 0;
    bool is64Bit = false;
};

// Reads an ELF header ("\x7F" "ELF", little-endian, an executable or position-independent
// program) or an MZ header whose PE header lies within `header`. Anything else is kUnknown.
ExecutableFormat ReadExecutableFormat(std::string_view header);

// Whether `header` starts an executable this build can run in its place: ELF on Linux, PE on
// Windows, for the same machine and word size.
bool IsExecutableForThisPlatform(std::string_view header);

// The same test on the start of a file; false when it cannot be read.
bool IsExecutableFileForThisPlatform(const std::filesystem::path& file);

}  // namespace zelvo
