#pragma once

#include <QString>

#include "payment/PaymentInput.h"

class QLineEdit;

namespace zelvo {

// The text after a keypad key (KeypadKey codes); confirm is the page's Enter and changes nothing.
QString ApplyKeypadCode(const QString& text, int code);

// Applies a key to an edit box and puts the caret at the end of its text, in view.
void ApplyKeypadCode(QLineEdit& box, int code);

}  // namespace zelvo
