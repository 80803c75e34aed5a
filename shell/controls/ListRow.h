#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QPainter;

namespace zelvo {

// One line of the payment log: a coloured mark by kind (0 green, 1 yellow, 2 red, others none)
// and the text after it; odd rows on white, the others on the list's own background.
struct ListRow {
    int kind = -1;
    QString text;
};

void DrawListRow(QPainter& painter, const QRect& rect, const ListRow& row, int index,
                 const QColor& listBackground);

// The picture drawn for a kind, or an empty name when the kind has none.
QString ListRowPicture(int kind);

}  // namespace zelvo
