// Draws the window's flat pictures into a folder: draw-pictures data/pic
#include <cstdio>
#include <cstdlib>

#include <QDir>
#include <QGuiApplication>

#include "tools/draw-pictures/Pictures.h"

int main(int argc, char* argv[]) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw-pictures <folder>\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make the folder %s\n", argv[1]);
        return 1;
    }
    for (const auto& picture : zelvo::pictures::AllPictures()) {
        QString path = folder.filePath(picture.fileName);
        if (!picture.draw().save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
