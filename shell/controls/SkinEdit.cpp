#include "shell/controls/SkinEdit.h"

#include <QPainter>

#include "shell/controls/Skin.h"

namespace zelvo {

SkinEdit::SkinEdit(int fontSize, bool bold, QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setFont(skin::Font(fontSize, bold));
    setTextMargins(4, 0, 4, 0);
    // No length limit: the statements take whatever is typed.
    setMaxLength(32767);
}

void SkinEdit::SetPasswordStyle(bool on) {
    setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
}

void SkinEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(skin::Frame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

}  // namespace zelvo
