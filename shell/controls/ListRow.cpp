#include "shell/controls/ListRow.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

#include "shell/Layout.h"
#include "shell/controls/Skin.h"

namespace zelvo {

QString ListRowPicture(int kind) {
    switch (kind) {
        case 0:
            return QStringLiteral("gbtn.png");
        case 1:
            return QStringLiteral("ybtn.png");
        case 2:
            return QStringLiteral("rbtn.png");
        default:
            return QString();
    }
}

namespace {

QFont ListRowFont() {
    return skin::Font(12);
}

QRect TextRect(const QRect& rect) {
    const LayoutScale& scale = GetLayoutScale();
    const int textLeft = rect.left() + scale.X(15) + scale.Y(12) + scale.X(12);
    return QRect(textLeft, rect.top(), rect.right() + 1 - textLeft, rect.height());
}

}  // namespace

bool ListRowTextCut(const QRect& rect, const ListRow& row) {
    return QFontMetrics(ListRowFont()).horizontalAdvance(row.text) > TextRect(rect).width();
}

void DrawListRow(QPainter& painter, const QRect& rect, const ListRow& row, int index,
                 const QColor& listBackground) {
    const LayoutScale& scale = GetLayoutScale();
    painter.fillRect(rect, index % 2 == 1 ? QColor(Qt::white) : listBackground);
    int markLeft = rect.left() + scale.X(15);
    int band = scale.Y(12);
    QString pictureName = ListRowPicture(row.kind);
    if (!pictureName.isEmpty()) {
        QPixmap picture = skin::LoadPicture(pictureName);
        if (!picture.isNull()) {
            QRect mark(markLeft, rect.center().y() - band / 2, band, band);
            painter.drawPixmap(mark, picture);
        }
    }
    const QRect textRect = TextRect(rect);
    const QFont font = ListRowFont();
    painter.setFont(font);
    painter.setPen(skin::LabelText);
    painter.save();
    painter.setClipRect(rect);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(font).elidedText(row.text, Qt::ElideRight, textRect.width()));
    painter.restore();
}

}  // namespace zelvo
