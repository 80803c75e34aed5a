#pragma once

#include <string>

namespace zelvo {

// The folder part of an executable's full path, with its trailing separator ('/' or '\').
std::string FolderWithSeparator(const std::string& executablePath);

// Points the OCR component at its language data beside the executable.
void SetTessdataPrefix(const std::string& executablePath);

}  // namespace zelvo
