#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace zelvo::test {

// Characters drawn large and hard-edged, black on white, each centred in a cell of its own, as
// the cleaning leaves a line.
inline QImage DrawnInCells(const QString& characters, const QString& family, int pixelSize,
                           int cellWidth, int height) {
    QImage image(cellWidth * static_cast<int>(characters.size()), height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < characters.size(); ++i) {
        painter.drawText(QRect(i * cellWidth, 0, cellWidth, height), Qt::AlignCenter,
                         characters.mid(i, 1));
    }
    return image;
}

}  // namespace zelvo::test
