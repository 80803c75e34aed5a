#pragma once

#include <string_view>

namespace zelvo {

class CLocalDb;
class GlobalHotKeys;

// Identifiers of the two system-wide hot keys.
inline constexpr int HOTKEY_SHOW = 1034;
inline constexpr int HOTKEY_HIDE = 1035;

// The hot key configured under `keyName` ("ShowKey", "HideKey") in SysConfig, as "modifier+key".
// Returns the virtual-key code: the first character after the "+" in upper case, 0 when there is
// none. A known modifier word ("alt", "ctrl", "shift", "win", any case) sets `modifiers`; an
// unknown one leaves it as it was, so a mask carries from one key to the next. An unreadable
// table reads as "ctrl+a"; a missing row as the empty text.
int ParseHotKeySpec(CLocalDb* db, std::string_view keyName, unsigned& modifiers);

// Registers HOTKEY_SHOW and then HOTKEY_HIDE, the hide key starting from the show key's mask. A
// combination another program holds is left unregistered without a word.
void RegisterCashierHotKeys(GlobalHotKeys& hotKeys, CLocalDb* db);
void UnregisterCashierHotKeys(GlobalHotKeys& hotKeys);

}  // namespace zelvo
