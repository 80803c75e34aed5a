#pragma once

#include <functional>
#include <vector>

#include <QImage>
#include <QString>

namespace zelvo::pictures {

struct Picture {
    QString fileName;
    std::function<QImage()> draw;
};

// Every picture of the window, by the file name the window loads it under.
std::vector<Picture> AllPictures();

}  // namespace zelvo::pictures
