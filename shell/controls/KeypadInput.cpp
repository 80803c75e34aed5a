#include "shell/controls/KeypadInput.h"

#include <QLineEdit>

namespace zelvo {

QString ApplyKeypadCode(const QString& text, int code) {
    if (code >= 0 && code <= 9) return text + QChar(u'0' + code);
    switch (code) {
        case KeypadCode::Point:
            return text + QLatin1Char('.');
        case KeypadCode::Backspace:
            return text.left(text.size() - 1);
        case KeypadCode::Reset:
            return QString();
        default:
            return text;
    }
}

void ApplyKeypadCode(QLineEdit& box, int code) {
    box.setText(ApplyKeypadCode(box.text(), code));
    box.end(false);
}

}  // namespace zelvo
