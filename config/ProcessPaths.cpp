#include "config/ProcessPaths.h"

#include <cstdlib>

namespace zelvo {

std::string FolderWithSeparator(const std::string& executablePath) {
    size_t last = executablePath.find_last_of("/\\");
    return last == std::string::npos ? std::string() : executablePath.substr(0, last + 1);
}

void SetTessdataPrefix(const std::string& executablePath) {
    setenv("TESSDATA_PREFIX", FolderWithSeparator(executablePath).c_str(), 1);
}

}  // namespace zelvo
