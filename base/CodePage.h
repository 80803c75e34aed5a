#pragma once

#include <string>
#include <string_view>

// The 8-bit "system code page" is GBK (code page 936) on every platform, so databases and
// gateways of existing installations read the same everywhere.
//
// Invalid input never fails: an undecodable byte becomes U+FFFD when decoding, and a character
// that GBK (or UTF-8, for lone surrogates) cannot hold becomes '?' when encoding.
namespace zelvo {

std::u16string GbkToUtf16(std::string_view gbk);
std::string Utf16ToGbk(std::u16string_view text);

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view text);

std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace zelvo
