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

// A text too long for its row ends in "…" and never draws past the row.
void DrawListRow(QPainter& painter, const QRect& rect, const ListRow& row, int index,
                 const QColor& listBackground);

// Whether the row's text is cut when the row is drawn in `rect`.
bool ListRowTextCut(const QRect& rect, const ListRow& row);

// The picture drawn for a kind, or an empty name when the kind has none.
QString ListRowPicture(int kind);

}  // namespace zelvo
