#include "shell/controls/AmountDisplay.h"

#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/Skin.h"

namespace zelvo {

AmountDisplay::AmountDisplay(int amountFontSize, int captionFontSize, QWidget* parent)
    : QWidget(parent), m_amountFontSize(amountFontSize), m_captionFontSize(captionFontSize) {}

void AmountDisplay::SetAmount(const QString& amount) {
    m_amount = amount;
    update();
}

void AmountDisplay::paintEvent(QPaintEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    int amountBottom = 48 + scale.Y(25);
    painter.setFont(skin::Font(m_amountFontSize, false, skin::Face::Hei));
    painter.setPen(skin::LabelText);
    painter.drawText(QRect(0, 0, width(), amountBottom),
                     Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine, m_amount);
    int captionBottom = amountBottom + scale.Y(30);
    painter.setFont(skin::Font(m_captionFontSize));
    painter.setPen(skin::Caption);
    painter.drawText(QRect(0, amountBottom, width(), captionBottom - amountBottom),
                     Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine,
                     QStringLiteral("金额(元)"));
}

}  // namespace zelvo
