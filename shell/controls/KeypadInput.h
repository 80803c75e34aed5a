#pragma once

#include <QString>

class QLineEdit;

namespace zelvo {

// Codes the numeric keypad sends: 0-9 digits, then these.
namespace KeypadCode {
inline constexpr int Point = 10;
inline constexpr int Backspace = 11;
inline constexpr int Confirm = 12;
inline constexpr int Reset = 13;
}  // namespace KeypadCode

// The text after a keypad key: digits and "." appended, backspace drops the last character,
// reset empties it; confirm and unknown codes leave it as it is (confirm is the page's Enter).
QString ApplyKeypadCode(const QString& text, int code);

// Applies a key to an edit box and puts the caret at the end of its text, in view.
void ApplyKeypadCode(QLineEdit& box, int code);

}  // namespace zelvo
