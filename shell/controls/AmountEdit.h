#pragma once

#include "shell/controls/SkinEdit.h"

namespace zelvo {

// Whether an amount text may stand: not longer than `maxLength`, no leading ".", one "." at
// most and no more than `maxDecimals` digits after it.
bool AmountTextAcceptable(const QString& text, int maxLength, int maxDecimals);

// An edit box that takes only digits, ".", "+", "-" and backspace, and undoes a key whose
// result is not an acceptable amount (text and selection come back as they were).
class AmountEdit : public SkinEdit {
    Q_OBJECT
public:
    AmountEdit(int maxLength, int maxDecimals, int fontSize, bool bold, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_maxLength;
    int m_maxDecimals;
};

}  // namespace zelvo
