#include "settings/HotKeySpec.h"

#include <array>
#include <string>
#include <utility>

#include "platform/GlobalHotKeys.h"
#include "store/CLocalDb.h"

namespace zelvo {
namespace {

constexpr std::string_view kUnreadableSpec = "ctrl+a";

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The mask of a modifier word, 0 for a word that is none.
unsigned ModifierOf(std::string_view word) {
    static const std::array<std::pair<std::string_view, unsigned>, 4> kWords{{
        {"alt", HotKeyModifier::Alt},
        {"ctrl", HotKeyModifier::Control},
        {"shift", HotKeyModifier::Shift},
        {"win", HotKeyModifier::Win},
    }};
    for (const auto& [name, mask] : kWords) {
        if (word.size() != name.size()) continue;
        bool same = true;
        for (size_t i = 0; i < word.size() && same; ++i) same = LowerAscii(word[i]) == name[i];
        if (same) return mask;
    }
    return 0;
}

std::string ReadSpec(CLocalDb* db, std::string_view keyName) {
    SqlRows result;
    if (!db ||
        !db->Query("select Value from SysConfig where Name = ?", {std::string(keyName)}, result)) {
        return std::string(kUnreadableSpec);
    }
    if (result.rows.empty() || result.rows.back().empty()) return std::string();
    return result.rows.back().front();
}

}  // namespace

int ParseHotKeySpec(CLocalDb* db, std::string_view keyName, unsigned& modifiers) {
    const std::string spec = ReadSpec(db, keyName);
    const std::string_view text(spec);
    // Without a "+", the whole text is both the modifier part and the key part.
    const size_t plus = text.find('+');
    const std::string_view modifierPart =
        plus == std::string_view::npos ? text : text.substr(0, plus);
    const std::string_view keyPart = plus == std::string_view::npos ? text : text.substr(plus + 1);
    if (const unsigned mask = ModifierOf(modifierPart); mask != 0) modifiers = mask;
    if (keyPart.empty()) return 0;
    return static_cast<unsigned char>(UpperAscii(keyPart.front()));
}

void RegisterCashierHotKeys(GlobalHotKeys& hotKeys, CLocalDb* db) {
    unsigned modifiers = 0;
    int key = ParseHotKeySpec(db, "ShowKey", modifiers);
    hotKeys.Register(HOTKEY_SHOW, modifiers, key);
    key = ParseHotKeySpec(db, "HideKey", modifiers);
    hotKeys.Register(HOTKEY_HIDE, modifiers, key);
}

void UnregisterCashierHotKeys(GlobalHotKeys& hotKeys) {
    hotKeys.Unregister(HOTKEY_SHOW);
    hotKeys.Unregister(HOTKEY_HIDE);
}

}  // namespace zelvo
