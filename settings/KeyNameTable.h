#pragma once

#include <string_view>

namespace zelvo {

class CLocalDb;

// Virtual-key codes the page keys are expressed in (the same numbers on every platform, so a
// configuration written on one till works on another).
namespace VirtualKey {
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int A = 65;
inline constexpr int Z = 90;
inline constexpr int F1 = 112;
inline constexpr int F2 = 113;
inline constexpr int F3 = 114;
inline constexpr int F4 = 115;
inline constexpr int F12 = 123;
}  // namespace VirtualKey

// KeyNameTable: the code of a key name ("F1".."F12", "LEFT", "UP", "RIGHT", "DOWN", "INSERT",
// "DELETE", "A".."Z"), compared in upper case; 0 for a name that is not in the table.
int KeyNameTable(std::string_view name);

// The code configured under `configKey` in SysConfig, read afresh on every call so that an
// edited value applies at the next key press. An unreadable row, or a name that is not in
// KeyNameTable (the empty text included), gives `defaultCode`.
int LookupPageKey(CLocalDb* db, std::string_view configKey, int defaultCode);

}  // namespace zelvo
