#include "shell/controls/TabButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "shell/controls/Skin.h"

namespace zelvo {

TabButton::TabButton(const QString& caption, int fontSize, const QColor& accent, int id,
                     QWidget* parent)
    : QWidget(parent), m_caption(caption), m_fontSize(fontSize), m_accent(accent), m_id(id) {
    setCursor(Qt::PointingHandCursor);
    ShowRestingLook();
}

void TabButton::SetSelected(bool selected) {
    m_selected = selected;
    ShowRestingLook();
}

void TabButton::ShowRestingLook() {
    if (m_selected) {
        SetLook(m_accent, skin::NearWhite, m_accent);
    } else {
        SetLook(Qt::white, skin::Grey, skin::Grey);
    }
}

void TabButton::SetLook(const QColor& background, const QColor& text, const QColor& frame) {
    m_background = background;
    m_text = text;
    m_frame = frame;
    update();
}

void TabButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    painter.setFont(skin::Font(m_fontSize));
    painter.setPen(m_text);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_caption);
    QPen pen(m_frame, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

void TabButton::enterEvent(QEnterEvent*) {
    if (!m_selected) SetLook(skin::TabHover, m_accent, m_accent);
}

void TabButton::leaveEvent(QEvent*) {
    ShowRestingLook();
}

void TabButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    SetLook(m_accent, skin::NearWhite, m_accent);
    Q_EMIT Pressed(m_id);
}

void TabButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    ShowRestingLook();
    if (rect().contains(event->position().toPoint())) Q_EMIT Clicked(m_id);
}

}  // namespace zelvo
