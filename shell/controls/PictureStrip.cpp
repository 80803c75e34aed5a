#include "shell/controls/PictureStrip.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPixmap>

namespace zelvo {

const QStringList& BrandPictures() {
    static const QStringList pictures = [] {
        QStringList found;
        QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/pic/");
        for (const char* name : {"img8", "img7", "YZF"}) {
            QString path = folder + QLatin1String(name) + QStringLiteral(".png");
            if (QFileInfo::exists(path)) found.append(path);
        }
        return found;
    }();
    return pictures;
}

int PictureStripWidth(int gap) {
    int width = 0;
    for (const QString& path : BrandPictures()) {
        QPixmap picture(path);
        if (picture.isNull()) continue;
        width += (width > 0 ? gap : 0) + picture.width();
    }
    return width;
}

void DrawPictureStrip(QPainter& painter, QPoint topLeft, int gap) {
    int x = topLeft.x();
    for (const QString& path : BrandPictures()) {
        QPixmap picture(path);
        if (picture.isNull()) continue;
        painter.drawPixmap(x, topLeft.y(), picture);
        x += picture.width() + gap;
    }
}

}  // namespace zelvo
