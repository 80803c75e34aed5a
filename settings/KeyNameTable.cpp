#include "settings/KeyNameTable.h"

#include <array>
#include <string>
#include <utility>

#include "store/CLocalDb.h"

namespace zelvo {
namespace {

// Names longer than any in the table are refused before they are upper-cased.
constexpr size_t kLongestKeyName = 6;

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

}  // namespace

int KeyNameTable(std::string_view name) {
    if (name.empty() || name.size() > kLongestKeyName) return 0;
    const std::string upper = UpperAscii(name);
    if (upper.size() == 1 && upper[0] >= 'A' && upper[0] <= 'Z') {
        return VirtualKey::A + (upper[0] - 'A');
    }
    if (upper.size() >= 2 && upper[0] == 'F') {
        int number = 0;
        for (size_t i = 1; i < upper.size(); ++i) {
            if (upper[i] < '0' || upper[i] > '9') return 0;
            number = number * 10 + (upper[i] - '0');
        }
        // "F01" is not a key name.
        if (upper[1] == '0' || number < 1 || number > 12) return 0;
        return VirtualKey::F1 + number - 1;
    }
    static const std::array<std::pair<std::string_view, int>, 6> kNamedKeys{{
        {"LEFT", VirtualKey::Left},
        {"UP", VirtualKey::Up},
        {"RIGHT", VirtualKey::Right},
        {"DOWN", VirtualKey::Down},
        {"INSERT", VirtualKey::Insert},
        {"DELETE", VirtualKey::Delete},
    }};
    for (const auto& [keyName, code] : kNamedKeys) {
        if (upper == keyName) return code;
    }
    return 0;
}

int LookupPageKey(CLocalDb* db, std::string_view configKey, int defaultCode) {
    if (!db) return defaultCode;
    SqlRows result;
    if (!db->Query("select Value from SysConfig where Name = ?", {std::string(configKey)},
                   result)) {
        return defaultCode;
    }
    if (result.rows.empty() || result.rows.back().empty()) return defaultCode;
    // The table holds ASCII names only, so the code-page bytes can be looked up as stored.
    const int code = KeyNameTable(result.rows.back().front());
    return code != 0 ? code : defaultCode;
}

}  // namespace zelvo
