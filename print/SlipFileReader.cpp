#include "print/SlipFileReader.h"

#include <fstream>
#include <iterator>

namespace zelvo {
namespace {

std::u16string WithoutLineEnd(std::u16string line) {
    while (!line.empty() && (line.back() == u'\n' || line.back() == u'\r')) line.pop_back();
    return line;
}

}  // namespace

std::optional<std::vector<std::u16string>> ReadSlipLines(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    bytes.resize(kSlipFileCapacity);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));

    size_t offset = 0;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        offset = 2;
    }
    std::vector<std::u16string> lines;
    std::u16string line;
    // A trailing odd byte is half a character and is dropped.
    for (; offset + 1 < bytes.size(); offset += 2) {
        const auto low = static_cast<unsigned char>(bytes[offset]);
        const auto high = static_cast<unsigned char>(bytes[offset + 1]);
        const auto c = static_cast<char16_t>(low | (high << 8));
        line.push_back(c);
        if (c == u'\n' || line.size() == kSlipLineCapacity) {
            lines.push_back(WithoutLineEnd(std::move(line)));
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(WithoutLineEnd(std::move(line)));
    return lines;
}

}  // namespace zelvo
