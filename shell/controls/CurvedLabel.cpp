#include "shell/controls/CurvedLabel.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include "shell/controls/Skin.h"

namespace zelvo {
namespace {

constexpr int kCornerEllipse = 15;

}  // namespace

CurvedLabel::CurvedLabel(const QString& text, int fontSize, const QColor& textColour,
                         const QColor& fill, QWidget* parent)
    : QWidget(parent), m_text(text), m_fontSize(fontSize), m_textColour(textColour), m_fill(fill) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CurvedLabel::resizeEvent(QResizeEvent*) {
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), kCornerEllipse / 2.0, kCornerEllipse / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void CurvedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_fill);
    painter.setFont(skin::Font(m_fontSize, false, skin::Face::Hei));
    painter.setPen(m_textColour);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
}

}  // namespace zelvo
