#include "MISCIL/WireText.h"

#include "base/CodePage.h"

namespace zelvo {
namespace {

bool IsAscii(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

// Characters are converted whole (a GBK character below U+0800 becomes a two-byte UTF-8
// sequence, never an overlong three-byte one), so any gateway that reads standard UTF-8 agrees.
std::string RecordTextToWire(std::string_view gbk, std::string_view charset) {
    if (charset != "1" || IsAscii(gbk)) return std::string(gbk);
    return GbkToUtf8(gbk);
}

std::string WireTextToRecord(std::string_view wire, std::string_view charset) {
    if (charset != "1" || IsAscii(wire)) return std::string(wire);
    return Utf8ToGbk(wire);
}

}  // namespace zelvo
