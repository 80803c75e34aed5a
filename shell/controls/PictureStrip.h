#pragma once

#include <QPoint>
#include <QStringList>

class QPainter;

namespace zelvo {

// The brand pictures found in "pic" beside the executable, in their fixed order; looked for
// once per run, absent files left out.
const QStringList& BrandPictures();

// Width of the row the pictures make with `gap` pixels between them.
int PictureStripWidth(int gap);

// Draws the pictures in one row from `topLeft`, `gap` pixels apart.
void DrawPictureStrip(QPainter& painter, QPoint topLeft, int gap);

}  // namespace zelvo
