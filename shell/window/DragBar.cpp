#include "shell/window/DragBar.h"

#include <QMouseEvent>

namespace zelvo {

DragBar::DragBar(QWidget* parent) : QWidget(parent) {}

void DragBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    QPoint point = event->position().toPoint();
    if (IsButtonAt(point)) {
        ButtonPressed(point);
        return;
    }
    if (m_allowed && !m_allowed()) return;
    m_dragging = true;
    m_grabOffset = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void DragBar::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    window()->move(event->globalPosition().toPoint() - m_grabOffset);
}

void DragBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (m_dragging) {
        m_dragging = false;
        Q_EMIT Dragged();
        return;
    }
    QPoint point = event->position().toPoint();
    if (IsButtonAt(point)) ButtonReleased(point);
}

}  // namespace zelvo
