#include "shell/controls/SkinEdit.h"

#include <QFontMetrics>
#include <QPainter>

#include "shell/controls/Skin.h"

namespace zelvo {

namespace {

constexpr int kTextMargin = 4;
// What QLineEdit keeps free beside the text, and the caret.
constexpr int kInnerMargin = 2 * 2 + 1;

}  // namespace

SkinEdit::SkinEdit(int fontSize, bool bold, QWidget* parent)
    : QLineEdit(parent), m_fontSize(fontSize), m_bold(bold) {
    setFrame(false);
    setFont(skin::Font(fontSize, bold));
    setTextMargins(kTextMargin, 0, kTextMargin, 0);
    // No length limit: the statements take whatever is typed.
    setMaxLength(32767);
}

void SkinEdit::SetPasswordStyle(bool on) {
    setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
    // The small bullet "•": the large "●" of the default style is wider than the text it hides
    // and runs out of the box.
    setStyleSheet(on ? QStringLiteral("QLineEdit { lineedit-password-character: 8226; }")
                     : QString());
}

void SkinEdit::SetShrinkToFit(bool on) {
    m_shrinkToFit = on;
    if (on) {
        connect(this, &QLineEdit::textChanged, this, &SkinEdit::FitFont, Qt::UniqueConnection);
    } else {
        disconnect(this, &QLineEdit::textChanged, this, &SkinEdit::FitFont);
    }
    FitFont();
}

void SkinEdit::FitFont() {
    const int room = width() - 2 * kTextMargin - kInnerMargin;
    QFont font = skin::Font(m_fontSize, m_bold);
    if (m_shrinkToFit) {
        for (int size = m_fontSize; size > m_fontSize / 2; --size) {
            font = skin::Font(size, m_bold);
            if (QFontMetrics(font).horizontalAdvance(displayText()) <= room) break;
        }
    }
    setFont(font);
}

void SkinEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    if (m_shrinkToFit) FitFont();
}

void SkinEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(skin::Frame, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(2, 2, -3, -3));
}

}  // namespace zelvo
