#include "shell/controls/FlatComboBox.h"

#include <QPainter>
#include <QPainterPath>

#include "shell/controls/Skin.h"

namespace zelvo {
namespace {

constexpr int kTextIndent = 6;
constexpr int kArrowWidth = 10;
constexpr int kArrowMargin = 10;

}  // namespace

FlatComboBox::FlatComboBox(QWidget* parent) : QComboBox(parent) {}

void FlatComboBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QPen(hasFocus() ? skin::Accent : skin::Frame, 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const int arrowLeft = width() - kArrowMargin - kArrowWidth;
    painter.setFont(font());
    painter.setPen(skin::LabelText);
    painter.drawText(
        QRect(kTextIndent, 0, arrowLeft - 2 * kTextIndent, height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        fontMetrics().elidedText(currentText(), Qt::ElideRight, arrowLeft - 2 * kTextIndent));

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(skin::Grey, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal middle = height() / 2.0;
    QPainterPath arrow;
    arrow.moveTo(arrowLeft, middle - 2.5);
    arrow.lineTo(arrowLeft + kArrowWidth / 2.0, middle + 2.5);
    arrow.lineTo(arrowLeft + kArrowWidth, middle - 2.5);
    painter.drawPath(arrow);
}

}  // namespace zelvo
