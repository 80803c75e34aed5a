#pragma once

#include <array>
#include <string>
#include <string_view>

namespace zelvo {

// A page's request buffer: the fixed-width request text, always zero-terminated.
inline constexpr size_t kRequestBufferSize = 2049;
using RequestBuffer = std::array<char, kRequestBufferSize>;

// Zeroes the buffer, then fills every field up to the goods information with spaces.
void ClearRequest(RequestBuffer& buffer);

// Each builder writes a fresh order number and its fields into a cleared buffer and answers 1.
// All texts are 8-bit (system code page); a value longer than its field is cut to the field, so
// it never runs into the next one. A purchase ends with the first 3 characters of `currency`
// (the configured `Currency`).
int BuildPurchase(std::string_view amount, std::string_view paymentCode, RequestBuffer& buffer,
                  std::u16string_view currency);
int BuildQuery(std::string_view origTxnType, std::string_view origOrderNum, std::string_view amount,
               RequestBuffer& buffer);
int BuildRefund(std::string_view amount, std::string_view origOrderNum, RequestBuffer& buffer);
int BuildCancel(std::string_view amount, std::string_view origOrderNum, RequestBuffer& buffer);

// The request text as the library will read it.
std::string_view RequestText(const RequestBuffer& buffer);

}  // namespace zelvo
