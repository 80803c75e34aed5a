#include "shell/controls/SkinLabel.h"

#include <QPainter>

namespace zelvo {

SkinLabel::SkinLabel(const QString& text, int fontSize, Qt::Alignment alignment, QWidget* parent)
    : QWidget(parent), m_text(text), m_fontSize(fontSize), m_alignment(alignment) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SkinLabel::SetText(const QString& text) {
    m_text = text;
    update();
}

void SkinLabel::SetColour(const QColor& colour) {
    m_colour = colour;
    update();
}

void SkinLabel::SetFill(const QColor& fill) {
    m_fill = fill;
    update();
}

void SkinLabel::SetBold(bool bold) {
    m_bold = bold;
    update();
}

void SkinLabel::SetFace(skin::Face face) {
    m_face = face;
    update();
}

void SkinLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_fill.isValid()) painter.fillRect(rect(), m_fill);
    painter.setFont(skin::Font(m_fontSize, m_bold, m_face));
    painter.setPen(m_colour);
    painter.drawText(rect(), m_alignment | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

}  // namespace zelvo
