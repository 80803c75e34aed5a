#include "shell/controls/LinkLabel.h"

#include <QMouseEvent>
#include <QPainter>

#include "shell/controls/Skin.h"

namespace zelvo {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {
    setCursor(Qt::PointingHandCursor);
}

void LinkLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QFont font = skin::Font(12);
    font.setUnderline(true);
    painter.setFont(font);
    painter.setPen(QColor(0xE1, 0xE1, 0xE1));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    // Kept here: passed on, the press would start a drag of the bar underneath.
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        Q_EMIT Clicked();
    }
}

}  // namespace zelvo
