#include "shell/controls/ListRow.h"

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
    int textLeft = markLeft + band + scale.X(12);
    painter.setFont(skin::Font(12));
    painter.setPen(skin::LabelText);
    painter.drawText(QRect(textLeft, rect.top(), rect.right() - textLeft, rect.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, row.text);
}

}  // namespace zelvo
