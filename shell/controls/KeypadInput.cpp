#include "shell/controls/KeypadInput.h"

#include <QLineEdit>

namespace zelvo {

QString ApplyKeypadCode(const QString& text, int code) {
    std::u16string edited = text.toStdU16String();
    ApplyKeypadKey(edited, code);
    return QString::fromStdU16String(edited);
}

void ApplyKeypadCode(QLineEdit& box, int code) {
    box.setText(ApplyKeypadCode(box.text(), code));
    box.end(false);
}

}  // namespace zelvo
