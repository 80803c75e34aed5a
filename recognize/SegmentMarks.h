#pragma once

#include <optional>
#include <vector>

#include "recognize/InkMarks.h"
#include "recognize/LeptonicaHandles.h"

namespace zelvo {

// The ink of a line image and its marks.
struct LineInk {
    PixPtr ink;  // 1 bit, set on the text
    std::vector<Mark> marks;
    PixPtr grey;  // the grey the ink was taken from, dark on light, at the ink's scale
};

// Finds the text of a line image (8-bit cleaned, or a colour screen copy; dark or light text on
// an even ground), enlarged where it is small so that the thin gaps between strokes survive
// binarising. With `core`, only the ink's dark core counts, which keeps narrow gaps between
// segments open; without it, the whole binarised ink, which keeps thin strokes whole. Marks are
// four-connected: strokes that meet only at a corner stay apart. None when the image cannot be
// converted.
std::optional<LineInk> FindLineInk(Pix* line, bool core = true);

// The ink opened by a brick `size` pixels square: strokes keep their width, but the necks by
// which segments touch at a corner, and marks smaller than the brick, are gone.
std::optional<LineInk> ThinnedInk(const LineInk& line, int size);

// How much darker the columns [x0, x1) are, against the rest of their rows, in rows [y0, y1)
// than in most rows of [top, y0), as a share of the ink's contrast with the ground: ink too
// faint to have been binarised, such as a small anti-aliased point, shows there; a line across
// the picture does not.
double FaintInkShare(const LineInk& line, int x0, int x1, int top, int y0, int y1);

// Whether the mark is a hollow frame: its own ink, all of it within `line` pixels of its box's
// edges. Characters run into a frame's side make it no longer hollow.
bool IsHollowFrame(Pix* ink, const Mark& mark, int line);

// The share (0 to 1) of the box, clipped to the image, that is ink.
double InkShare(Pix* ink, int x, int y, int w, int h);

}  // namespace zelvo
