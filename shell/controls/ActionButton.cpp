#include "shell/controls/ActionButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "shell/controls/Skin.h"

namespace zelvo {

ActionButton::ActionButton(const QString& caption, int fontSize, int id, QWidget* parent)
    : QWidget(parent), m_caption(caption), m_fontSize(fontSize), m_id(id), m_fill(skin::Accent) {
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
}

void ActionButton::SetCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void ActionButton::SetFocusHighlight(bool on) {
    SetFill(on ? skin::AccentLight : skin::Accent);
}

void ActionButton::SetFace(skin::Face face) {
    m_face = face;
    update();
}

void ActionButton::SetDimmed(bool dimmed) {
    m_dimmed = dimmed;
    update();
}

void ActionButton::SetFill(const QColor& fill) {
    m_fill = fill;
    update();
}

void ActionButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_dimmed ? skin::Frame : m_fill);
    painter.setFont(skin::Font(m_fontSize, false, m_face));
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_caption);
}

void ActionButton::enterEvent(QEnterEvent*) {
    m_tracking = true;
    if (!m_held) SetFill(skin::AccentLight);
}

void ActionButton::leaveEvent(QEvent*) {
    Leave();
}

void ActionButton::Leave() {
    m_tracking = false;
    SetFill(skin::Accent);
}

void ActionButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_held = true;
    SetFill(skin::AccentDark);
    Q_EMIT Pressed(m_id);
}

void ActionButton::mouseMoveEvent(QMouseEvent* event) {
    // The mouse stays grabbed while the button is held, so leaving shows only as a move outside.
    bool inside = rect().contains(event->position().toPoint());
    if (!inside && (m_tracking || m_held)) {
        Leave();
    } else if (inside && !m_tracking) {
        m_tracking = true;
        SetFill(m_held ? skin::AccentDark : skin::AccentLight);
    }
}

void ActionButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_held) return;
    m_held = false;
    if (!rect().contains(event->position().toPoint())) {
        Leave();
        return;
    }
    SetFill(skin::AccentLight);
    Q_EMIT Clicked(m_id);
}

}  // namespace zelvo
