#pragma once

#include <cstddef>
#include <string>

namespace zelvo {

// The amount box holds at most 9 characters with at most 2 decimals.
inline constexpr size_t kAmountMaxLength = 9;
inline constexpr size_t kAmountMaxDecimals = 2;

// Checks of the two boxes of the payment page. Each trims its text of surrounding white space in
// place and answers the banner text of the first rule broken, or an empty text when valid.
std::u16string ValidateAmount(std::u16string& text);
std::u16string ValidatePaymentCode(std::u16string& text);

// Keys of the on-screen keypad: 0-9 digits, 10 ".", 11 backspace, 12 confirm, 13 reset.
namespace KeypadKey {
inline constexpr int Dot = 10;
inline constexpr int Backspace = 11;
inline constexpr int Confirm = 12;
inline constexpr int Reset = 13;
}  // namespace KeypadKey

// Applies a keypad key to an edit box's text as every edit box takes it. Confirm is the caller's
// (it acts like Enter); false when the key changed nothing it knows.
bool ApplyKeypadKey(std::u16string& text, int key);

// The amount boxes: a digit or "." is ignored once the box holds 9 characters or two decimals.
bool ApplyAmountKeypadKey(std::u16string& text, int key);

}  // namespace zelvo
