#pragma once

#include <algorithm>
#include <vector>

struct Pix;

namespace zelvo {

// One connected mark of ink in a line image.
struct Mark {
    int x = 0, y = 0, w = 0, h = 0;
    int area = 0;  // pixels of ink

    int Right() const { return x + w; }
    int Bottom() const { return y + h; }
    double CentreX() const { return x + w / 2.0; }
    double CentreY() const { return y + h / 2.0; }
    int Thickness() const { return std::min(w, h); }
    int Length() const { return std::max(w, h); }
    double Fill() const { return static_cast<double>(area) / (w * h); }
    // Whether the other box lies within this one.
    bool Holds(const Mark& other) const {
        return x <= other.x && y <= other.y && Right() >= other.Right() &&
               Bottom() >= other.Bottom();
    }
    // How many columns the two share; none or fewer where they stand apart.
    int ColumnsSharedWith(const Mark& other) const {
        return std::min(Right(), other.Right()) - std::max(x, other.x);
    }
};

// The four-connected marks of a one-bit ink image (set on the text), specks of a pixel or two
// left out.
std::vector<Mark> MarksOf(Pix* ink);

// The characters among a line's marks (at least half as tall as the tallest), the row their
// feet stand on (the middle of their bottoms) and the middle of their heights.
struct CharacterRow {
    int tallest = 0;
    int baseline = 0;
    int typicalHeight = 0;
    std::vector<Mark> characters;
};
CharacterRow CharacterRowOf(const std::vector<Mark>& marks);

}  // namespace zelvo
