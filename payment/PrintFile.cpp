#include "payment/PrintFile.h"

#include <fstream>

namespace zelvo {

bool WritePrintFile(const std::filesystem::path& path, const std::u16string& text) {
    std::string bytes("\xFF\xFE");
    bytes.reserve(2 + text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

}  // namespace zelvo
